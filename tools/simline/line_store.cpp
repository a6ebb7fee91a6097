#include "tools/simline/line_store.h"

#include <string>

namespace tolvane::simline {

namespace {

constexpr wchar_t kMutexName[] = L"TolvaneSimulatedLine";
constexpr wchar_t kStateFileName[] = L"tolvane-line.state";
// A process killed while holding the mutex abandons it, which gives it to the
// next waiter; a live holder keeps it for microseconds. Waiting longer than
// this means something is badly wrong, and failing beats hanging a test.
constexpr DWORD kLockTimeoutMs = 10000;
// System starts further apart than this are different starts, not a clock
// adjustment.
constexpr ULONGLONG kBootToleranceSeconds = 120;

ULONGLONG filetime_value(const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// The wall-clock second at which the tick count started.
ULONGLONG boot_id() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return filetime_value(now) / 10000000ULL - GetTickCount64() / 1000;
}

ULONGLONG process_started(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return filetime_value(created);
}

// The mutex, the state file and its view, opened once per process and kept
// for the life of the DLL.
struct Store {
    HANDLE mutex = nullptr;
    HANDLE file = INVALID_HANDLE_VALUE;
    HANDLE mapping = nullptr;
    SharedLine* view = nullptr;
    ULONGLONG started = 0;

    ~Store() {
        if (view)
            UnmapViewOfFile(view);
        if (mapping)
            CloseHandle(mapping);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        if (mutex)
            CloseHandle(mutex);
    }
};

Store store;
INIT_ONCE store_once = INIT_ONCE_STATIC_INIT;

BOOL CALLBACK open_store(PINIT_ONCE, PVOID, PVOID*) {
    store.started = process_started(GetCurrentProcess());
    store.mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (!store.mutex)
        return TRUE;
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH)
        return TRUE;
    const std::wstring path = std::wstring(temp, n) + kStateFileName;
    store.file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (store.file == INVALID_HANDLE_VALUE)
        return TRUE;
    // The mapping grows a new file to the record's size, zero-filled; a zeroed
    // record is no valid line and is reset on first use.
    store.mapping =
        CreateFileMappingW(store.file, nullptr, PAGE_READWRITE, 0, sizeof(SharedLine), nullptr);
    if (!store.mapping)
        return TRUE;
    store.view = static_cast<SharedLine*>(
        MapViewOfFile(store.mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(SharedLine)));
    return TRUE;
}

bool owner_alive(DWORD process_id, ULONGLONG started, void*) {
    if (process_id == GetCurrentProcessId())
        return started == store.started;
    HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, process_id);
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to look at
    const bool running =
        WaitForSingleObject(process, 0) == WAIT_TIMEOUT && process_started(process) == started;
    CloseHandle(process);
    return running;
}

DWORD handle_seed() {
    // Handles differ from one state file to the next, so that a handle kept
    // from an old line is not mistaken for a new one.
    return 0x00010000u + ((GetTickCount() & 0xFFFu) << 4);
}

}  // namespace

DWORD own_process_id() {
    return GetCurrentProcessId();
}

ULONGLONG own_process_started() {
    InitOnceExecuteOnce(&store_once, open_store, nullptr, nullptr);
    return store.started;
}

LineLock::LineLock(bool reload) {
    InitOnceExecuteOnce(&store_once, open_store, nullptr, nullptr);
    if (!store.view)
        return;
    const DWORD waited = WaitForSingleObject(store.mutex, kLockTimeoutMs);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        return;
    mutex_ = store.mutex;
    line_ = store.view;
    loaded_ = &current_scenario(reload);
    // File times are coarse: a file written again at once may look unchanged
    // to this process while another one has read its new text. Read it again
    // before taking the line from that process.
    if (!reload && is_valid_line(*line_) && line_->scenario_id != loaded_->id)
        loaded_ = &current_scenario(true);
    now_ = GetTickCount64();
    const ULONGLONG boot = boot_id();
    const ULONGLONG boot_difference =
        boot > line_->boot_id ? boot - line_->boot_id : line_->boot_id - boot;
    if (!is_valid_line(*line_) || line_->scenario_id != loaded_->id ||
        boot_difference > kBootToleranceSeconds) {
        reset();
    }
    settle(*line_, now_, loaded_->scenario.hang_up_ms, owner_alive, nullptr);
}

LineLock::~LineLock() {
    if (mutex_)
        ReleaseMutex(mutex_);
}

void LineLock::reset() {
    reset_line(*line_, loaded_->scenario, loaded_->id, boot_id(), handle_seed());
}

}  // namespace tolvane::simline
