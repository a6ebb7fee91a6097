// The five service functions of the simulated line, and its own SimLine*
// exports. Arguments are checked as the service checks them; nothing is
// written past the sizes the caller gave.
#include <windows.h>

#include <cstring>
#include <new>
#include <string>

#include "dialup/ras_records.h"
#include "tools/simline/dial_runs.h"
#include "tools/simline/line_store.h"
#include "tools/simline/simline_api.h"

using namespace tolvane;
using namespace tolvane::simline;

namespace {

constexpr DWORD kErrorCannotOpenPhonebook = 621;
constexpr DWORD kErrorCannotFindPhonebookEntry = 623;
constexpr DWORD kErrorPortNotAvailable = 633;

// The record sizes the line knows. Later versions of the dial parameters only
// add inputs after the classic fields, so they are read like the classic one.
bool is_known_dial_params_size(DWORD size) {
    return size == sizeof(RASDIALPARAMSA) || size == 1060 || size == 1064;
}

template <std::size_t N>
bool terminated(const char (&field)[N]) {
    return strnlen(field, N) < N;
}

HRASCONN as_handle(DWORD value) {
    return reinterpret_cast<HRASCONN>(static_cast<UINT_PTR>(value));
}

DWORD as_value(HRASCONN handle) {
    const auto value = reinterpret_cast<UINT_PTR>(handle);
    return value > 0xFFFFFFFFu ? 0 : static_cast<DWORD>(value);
}

// The caller's handle variable may be read by its notifier on another thread.
void store_handle(HRASCONN* target, DWORD value) {
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(target), as_handle(value));
}

// The buffer's first record must carry a size the line knows; a buffer too
// short to hold even that member is simply too small.
bool has_record_size(const void* buffer, DWORD bytes, DWORD size) {
    if (!buffer || bytes < sizeof(DWORD))
        return true;
    DWORD given;
    std::memcpy(&given, buffer, sizeof given);
    return given == size;
}

const std::string* find_entry(const Scenario& scenario, const char* name) {
    for (const std::string& e : scenario.entries) {
        if (same_entry_name(e, name))
            return &e;
    }
    return nullptr;
}

void fill_dial_record(DialRecord& record, const RASDIALPARAMSA& params, bool synchronous) {
    record.process_id = own_process_id();
    record.synchronous = synchronous ? 1 : 0;
    copy_text(record.entry_name, sizeof record.entry_name, params.szEntryName);
    copy_text(record.phone_number, sizeof record.phone_number, params.szPhoneNumber);
    copy_text(record.user_name, sizeof record.user_name, params.szUserName);
    copy_text(record.password, sizeof record.password, params.szPassword);
}

void set_logged_result(DWORD serial, DWORD result) {
    LineLock lock;
    if (!lock.ok())
        return;
    DialRecord& record = lock.line().log[(serial - 1) % kDialLogSize];
    if (record.serial == serial)
        record.result = result;
}

void fail_connection(DWORD handle, DWORD error) {
    LineLock lock;
    if (!lock.ok())
        return;
    if (ConnectionSlot* slot = find_connection(lock.line(), handle)) {
        if (slot->phase == Phase::Dialing) {
            slot->phase = Phase::Failed;
            slot->error = error;
        }
    }
}

}  // namespace

extern "C" {

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR, RASENTRYNAMEA* entries, LPDWORD byte_count,
                             LPDWORD entry_count) try {
    if (reserved || !byte_count || !entry_count)
        return ERROR_INVALID_PARAMETER;
    if (!has_record_size(entries, *byte_count, sizeof(RASENTRYNAMEA)))
        return kRasErrorInvalidSize;
    LineLock lock;
    if (!lock.ok())
        return kErrorCannotOpenPhonebook;
    const Scenario& scenario = lock.scenario();
    if (scenario.fail_enum_entries)
        return *scenario.fail_enum_entries;
    const DWORD count = static_cast<DWORD>(scenario.entries.size());
    const DWORD needed = count * static_cast<DWORD>(sizeof(RASENTRYNAMEA));
    *entry_count = count;
    if (needed > 0 && (!entries || *byte_count < needed)) {
        *byte_count = needed;
        return kRasErrorBufferTooSmall;
    }
    for (DWORD i = 0; i < count; ++i) {
        RASENTRYNAMEA& record = entries[i];
        std::memset(&record, 0, sizeof record);
        record.dwSize = sizeof record;
        copy_text(record.szEntryName, sizeof record.szEntryName, scenario.entries[i].c_str());
    }
    *byte_count = needed;
    return 0;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

DWORD WINAPI RasDialA(LPVOID, LPCSTR, RASDIALPARAMSA* params, DWORD notifier_type, LPVOID notifier,
                      HRASCONN* connection) try {
    if (!params || !connection)
        return ERROR_INVALID_PARAMETER;
    if (!is_known_dial_params_size(params->dwSize))
        return kRasErrorInvalidSize;
    // Only the RasDialFunc notifier (type 0) is simulated.
    if (notifier && notifier_type != 0)
        return ERROR_INVALID_PARAMETER;
    if (!terminated(params->szEntryName) || !terminated(params->szPhoneNumber) ||
        !terminated(params->szUserName) || !terminated(params->szPassword)) {
        return ERROR_INVALID_PARAMETER;
    }
    const bool synchronous = notifier == nullptr;
    const auto notify = reinterpret_cast<RasDialFunc>(notifier);

    std::shared_ptr<DialRun> run;
    DWORD handle = 0;
    DWORD log_serial = 0;
    bool early_first_state = false;
    {
        LineLock lock;
        if (!lock.ok())
            return kErrorCannotOpenPhonebook;
        const Scenario& scenario = lock.scenario();
        SharedLine& line = lock.line();
        DialRecord& record = log_dial(line);
        log_serial = record.serial;
        fill_dial_record(record, *params, synchronous);

        if (scenario.refuse_dial) {
            record.result = *scenario.refuse_dial;
            if (scenario.refuse_dial_with_handle) {
                // Refused, yet with a handle that the caller has to hang up.
                if (ConnectionSlot* slot =
                        open_connection(line, params->szEntryName, scenario, own_process_id(),
                                        own_process_started())) {
                    slot->phase = Phase::Failed;
                    slot->error = record.result;
                    record.handle = slot->handle;
                    store_handle(connection, slot->handle);
                }
            }
            return record.result;
        }

        std::string name;
        if (params->szEntryName[0] != '\0') {
            const std::string* entry = find_entry(scenario, params->szEntryName);
            if (!entry) {
                record.result = kErrorCannotFindPhonebookEntry;
                return record.result;
            }
            name = *entry;
        } else {
            // A dial without an entry is listed as "." and its number.
            name = std::string(".") + params->szPhoneNumber;
        }

        std::vector<DialStep> steps = plan_dial(scenario, params->szUserName, params->szPassword);
        ConnectionSlot* slot =
            open_connection(line, name.c_str(), scenario, own_process_id(), own_process_started());
        if (!slot) {
            record.result = kErrorPortNotAvailable;
            return record.result;
        }
        run = create_run(slot->handle, synchronous ? nullptr : notify, std::move(steps));
        if (!run) {
            std::memset(slot, 0, sizeof *slot);
            record.result = ERROR_NOT_ENOUGH_MEMORY;
            return record.result;
        }
        handle = slot->handle;
        record.handle = handle;
        early_first_state = scenario.early_first_state && !synchronous;
    }

    store_handle(connection, handle);
    if (synchronous) {
        const DWORD result = run_synchronously(run);
        set_logged_result(log_serial, result);
        return result;
    }
    const DWORD started = start_run(run, early_first_state);
    if (started != 0) {
        fail_connection(handle, started);
        set_logged_result(log_serial, started);
    }
    return started;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status) try {
    if (!status)
        return ERROR_INVALID_PARAMETER;
    if (status->dwSize != sizeof(RASCONNSTATUSA))
        return kRasErrorInvalidSize;
    LineLock lock;
    if (!lock.ok())
        return kErrorCannotOpenPhonebook;
    const ConnectionSlot* slot = find_connection(lock.line(), as_value(connection));
    if (!slot)
        return ERROR_INVALID_HANDLE;
    std::memset(status, 0, sizeof *status);
    status->dwSize = sizeof *status;
    status->rasconnstate = slot->state;
    status->dwError = slot->error;
    copy_text(status->szDeviceType, sizeof status->szDeviceType, slot->device_type);
    copy_text(status->szDeviceName, sizeof status->szDeviceName, slot->device_name);
    return 0;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

DWORD WINAPI RasEnumConnectionsA(RASCONNA* connections, LPDWORD byte_count,
                                 LPDWORD connection_count) try {
    if (!byte_count || !connection_count)
        return ERROR_INVALID_PARAMETER;
    if (!has_record_size(connections, *byte_count, sizeof(RASCONNA)))
        return kRasErrorInvalidSize;
    LineLock lock;
    if (!lock.ok())
        return kErrorCannotOpenPhonebook;
    if (lock.scenario().fail_enum_connections)
        return *lock.scenario().fail_enum_connections;
    ConnectionSlot* listed[kMaxConnections];
    const auto count = static_cast<DWORD>(listed_connections(lock.line(), listed, kMaxConnections));
    const DWORD needed = count * static_cast<DWORD>(sizeof(RASCONNA));
    *connection_count = count;
    if (needed > 0 && (!connections || *byte_count < needed)) {
        *byte_count = needed;
        return kRasErrorBufferTooSmall;
    }
    for (DWORD i = 0; i < count; ++i) {
        RASCONNA& record = connections[i];
        std::memset(&record, 0, sizeof record);
        record.dwSize = sizeof record;
        record.hrasconn = as_handle(listed[i]->handle);
        copy_text(record.szEntryName, sizeof record.szEntryName, listed[i]->entry_name);
        copy_text(record.szDeviceType, sizeof record.szDeviceType, listed[i]->device_type);
        copy_text(record.szDeviceName, sizeof record.szDeviceName, listed[i]->device_name);
    }
    *byte_count = needed;
    return 0;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

DWORD WINAPI RasHangUpA(HRASCONN connection) try {
    const DWORD handle = as_value(connection);
    if (handle == 0)
        return ERROR_INVALID_HANDLE;
    // First the notifier falls silent, then the line lets the connection go.
    stop_run(handle);
    LineLock lock;
    if (!lock.ok())
        return kErrorCannotOpenPhonebook;
    ConnectionSlot* slot = find_connection(lock.line(), handle);
    if (!slot)
        return ERROR_INVALID_HANDLE;
    if (slot->phase != Phase::HangingUp) {
        const Scenario& scenario = lock.scenario();
        hang_up(*slot, lock.now(), scenario.hang_up_ms, scenario.hang_up_never_completes);
        if (scenario.hang_up_ms == 0 && !scenario.hang_up_never_completes)
            std::memset(slot, 0, sizeof *slot);
    }
    return 0;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

DWORD WINAPI SimLineReset(void) try {
    stop_all_runs();
    LineLock lock(true);
    if (!lock.ok())
        return kErrorCannotOpenPhonebook;
    lock.reset();
    return 0;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

DWORD WINAPI SimLineListConnections(SimLineConnection* connections, DWORD capacity,
                                    DWORD* count) try {
    if (!count || (capacity > 0 && !connections))
        return ERROR_INVALID_PARAMETER;
    LineLock lock;
    if (!lock.ok())
        return kErrorCannotOpenPhonebook;
    ConnectionSlot* slots[kMaxConnections];
    const std::size_t n = all_connections(lock.line(), slots, kMaxConnections);
    *count = static_cast<DWORD>(n);
    for (std::size_t i = 0; i < n && i < capacity; ++i) {
        SimLineConnection& c = connections[i];
        std::memset(&c, 0, sizeof c);
        c.dwSize = sizeof c;
        c.handle = slots[i]->handle;
        c.phase = static_cast<DWORD>(slots[i]->phase);
        c.state = slots[i]->state;
        c.error = slots[i]->error;
        c.owner_process_id = slots[i]->owner_process_id;
        copy_text(c.entry_name, sizeof c.entry_name, slots[i]->entry_name);
        copy_text(c.device_type, sizeof c.device_type, slots[i]->device_type);
        copy_text(c.device_name, sizeof c.device_name, slots[i]->device_name);
    }
    return 0;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

DWORD WINAPI SimLineReadDialLog(SimLineDial* dials, DWORD capacity, DWORD* count) try {
    if (!count || (capacity > 0 && !dials))
        return ERROR_INVALID_PARAMETER;
    LineLock lock;
    if (!lock.ok())
        return kErrorCannotOpenPhonebook;
    const DialRecord* kept[kDialLogSize];
    const std::size_t n = logged_dials(lock.line(), kept, kDialLogSize);
    *count = static_cast<DWORD>(n);
    for (std::size_t i = 0; i < n && i < capacity; ++i) {
        SimLineDial& d = dials[i];
        std::memset(&d, 0, sizeof d);
        d.dwSize = sizeof d;
        d.serial = kept[i]->serial;
        d.process_id = kept[i]->process_id;
        d.handle = kept[i]->handle;
        d.result = kept[i]->result;
        d.synchronous = kept[i]->synchronous;
        copy_text(d.entry_name, sizeof d.entry_name, kept[i]->entry_name);
        copy_text(d.phone_number, sizeof d.phone_number, kept[i]->phone_number);
        copy_text(d.user_name, sizeof d.user_name, kept[i]->user_name);
        copy_text(d.password, sizeof d.password, kept[i]->password);
    }
    return 0;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

DWORD WINAPI SimLineGetInfo(SimLineInfo* info) try {
    if (!info || info->dwSize != sizeof(SimLineInfo))
        return ERROR_INVALID_PARAMETER;
    LineLock lock;
    if (!lock.ok())
        return kErrorCannotOpenPhonebook;
    std::memset(info, 0, sizeof *info);
    info->dwSize = sizeof *info;
    const LoadedScenario& loaded = lock.loaded();
    info->builtin = loaded.path.empty() ? 1 : 0;
    info->dial_count = lock.line().dial_count;
    WideCharToMultiByte(CP_ACP, 0, loaded.path.c_str(), -1, info->scenario_path,
                        sizeof info->scenario_path - 1, nullptr, nullptr);
    copy_text(info->problem, sizeof info->problem, loaded.problem.c_str());
    return 0;
} catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}

}  // extern "C"
