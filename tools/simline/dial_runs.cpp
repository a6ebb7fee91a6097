#include "tools/simline/dial_runs.h"

#include <utility>

#include "app/win_handle.h"
#include "tools/simline/line_store.h"

namespace tolvane::simline {

struct DialRun {
    DWORD handle = 0;
    RasDialFunc notifier = nullptr;
    std::vector<DialStep> steps;
    // Manual-reset events: set once the run is to stop; set while no notifier
    // call is in progress; set once the first state has been reported.
    UniqueKernelHandle cancel;
    UniqueKernelHandle idle;
    UniqueKernelHandle first_reported;
    SRWLOCK lock = SRWLOCK_INIT;
    bool cancelled = false;
    DWORD notifying_thread = 0;
};

namespace {

// A process drives at most as many dials as the line has connections.
SRWLOCK runs_lock = SRWLOCK_INIT;
std::shared_ptr<DialRun> runs[kMaxConnections];

class ExclusiveLock {
  public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

  private:
    SRWLOCK& lock_;
};

void unregister(const DialRun* run) {
    ExclusiveLock guard(runs_lock);
    for (auto& r : runs) {
        if (r.get() == run)
            r.reset();
    }
}

std::shared_ptr<DialRun> find_run(DWORD handle) {
    ExclusiveLock guard(runs_lock);
    for (auto& r : runs) {
        if (r && r->handle == handle)
            return r;
    }
    return nullptr;
}

// Waits for the event while dispatching the messages that other threads send
// to this one, so that a notifier sending to this thread's windows can end.
void wait_handling_sent_messages(HANDLE event) {
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjectsEx(1, &event, INFINITE, QS_SENDMESSAGE, 0);
        if (r != WAIT_OBJECT_0 + 1)
            return;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Puts the state on the line. False when the line has let the connection go
// (hung up, perhaps by another process, or the line was reset).
bool record_state(const DialRun& run, const DialStep& step) {
    LineLock lock;
    if (!lock.ok())
        return false;
    ConnectionSlot* slot = find_connection(lock.line(), run.handle);
    if (!slot || slot->phase != Phase::Dialing)
        return false;
    slot->state = step.state;
    slot->error = step.error;
    if (step.error != 0) {
        slot->phase = Phase::Failed;
    } else if (step.state == RASCS_Connected) {
        // An established connection belongs to the system, not to the dialer.
        slot->phase = Phase::Connected;
        slot->owner_process_id = 0;
        slot->owner_started = 0;
    }
    return true;
}

void notify(DialRun& run, const DialStep& step) {
    {
        ExclusiveLock guard(run.lock);
        if (run.cancelled)
            return;
        run.notifying_thread = GetCurrentThreadId();
        ResetEvent(run.idle.get());
    }
    run.notifier(kWmRasDialEvent, step.state, step.error);
    ExclusiveLock guard(run.lock);
    run.notifying_thread = 0;
    SetEvent(run.idle.get());
}

DWORD walk(DialRun& run, bool first_without_delay) {
    for (std::size_t i = 0; i < run.steps.size(); ++i) {
        const DialStep& step = run.steps[i];
        const DWORD delay = (i == 0 && first_without_delay) ? 0 : step.delay_ms;
        if (WaitForSingleObject(run.cancel.get(), delay) != WAIT_TIMEOUT)
            return kErrorUserDisconnection;
        if (!record_state(run, step))
            return kErrorUserDisconnection;
        if (run.notifier)
            notify(run, step);
        if (i == 0)
            SetEvent(run.first_reported.get());
        if (step.error != 0)
            return step.error;
    }
    return 0;
}

struct ThreadStart {
    std::shared_ptr<DialRun> run;
    bool early_first_state;
    HMODULE module;
};

HMODULE drive(ThreadStart* start) {
    std::unique_ptr<ThreadStart> owned(start);
    walk(*owned->run, owned->early_first_state);
    SetEvent(owned->run->first_reported.get());
    unregister(owned->run.get());
    return owned->module;
}

DWORD WINAPI dial_thread(void* parameter) {
    // The thread holds a reference on the DLL, so that it cannot be unloaded
    // under a dial in progress.
    FreeLibraryAndExitThread(drive(static_cast<ThreadStart*>(parameter)), 0);
}

}  // namespace

std::shared_ptr<DialRun> create_run(DWORD handle, RasDialFunc notifier,
                                    std::vector<DialStep> steps) {
    auto run = std::make_shared<DialRun>();
    run->handle = handle;
    run->notifier = notifier;
    run->steps = std::move(steps);
    run->cancel.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    run->idle.reset(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    run->first_reported.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!run->cancel || !run->idle || !run->first_reported)
        return nullptr;
    ExclusiveLock guard(runs_lock);
    for (auto& r : runs) {
        if (!r) {
            r = run;
            return run;
        }
    }
    return nullptr;
}

DWORD start_run(const std::shared_ptr<DialRun>& run, bool early_first_state) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&dial_thread), &module)) {
        unregister(run.get());
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    auto* start = new (std::nothrow) ThreadStart{run, early_first_state, module};
    HANDLE thread = start ? CreateThread(nullptr, 0, dial_thread, start, 0, nullptr) : nullptr;
    if (!thread) {
        delete start;
        FreeLibrary(module);
        unregister(run.get());
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    CloseHandle(thread);
    if (early_first_state)
        wait_handling_sent_messages(run->first_reported.get());
    return 0;
}

DWORD run_synchronously(const std::shared_ptr<DialRun>& run) {
    const DWORD result = walk(*run, false);
    unregister(run.get());
    return result;
}

void stop_run(DWORD handle) {
    std::shared_ptr<DialRun> run = find_run(handle);
    if (!run)
        return;
    bool wait = false;
    {
        ExclusiveLock guard(run->lock);
        run->cancelled = true;
        SetEvent(run->cancel.get());
        wait = run->notifying_thread != 0 && run->notifying_thread != GetCurrentThreadId();
    }
    if (wait)
        wait_handling_sent_messages(run->idle.get());
}

void stop_all_runs() {
    std::shared_ptr<DialRun> all[kMaxConnections];
    {
        ExclusiveLock guard(runs_lock);
        for (std::size_t i = 0; i < kMaxConnections; ++i)
            all[i] = runs[i];
    }
    for (auto& run : all) {
        if (run)
            stop_run(run->handle);
    }
}

}  // namespace tolvane::simline
