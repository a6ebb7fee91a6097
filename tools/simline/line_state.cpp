#include "tools/simline/line_state.h"

#include <algorithm>
#include <cstring>

namespace tolvane::simline {

namespace {

bool handle_in_use(const SharedLine& line, DWORD handle) {
    for (const ConnectionSlot& s : line.slots) {
        if (s.phase != Phase::Free && s.handle == handle)
            return true;
    }
    return false;
}

// Handles are multiples of 4 that are never 0, like kernel handles, and not
// reused until the counter wraps.
DWORD take_handle(SharedLine& line) {
    for (;;) {
        line.next_handle += 4;
        line.next_handle &= ~3u;
        if (line.next_handle != 0 && !handle_in_use(line, line.next_handle))
            return line.next_handle;
    }
}

std::size_t collect(SharedLine& line, ConnectionSlot** out, std::size_t capacity, bool listed) {
    ConnectionSlot* found[kMaxConnections];
    std::size_t n = 0;
    for (ConnectionSlot& s : line.slots) {
        if (s.phase == Phase::Free)
            continue;
        if (listed && s.phase == Phase::HangingUp)
            continue;
        found[n++] = &s;
    }
    std::sort(found, found + n, [](const ConnectionSlot* a, const ConnectionSlot* b) {
        return a->serial < b->serial;
    });
    const std::size_t written = std::min(n, capacity);
    std::copy(found, found + written, out);
    return n;
}

}  // namespace

void copy_text(char* field, std::size_t field_size, const char* text) {
    if (field_size == 0)
        return;
    const std::size_t length = text ? strnlen(text, field_size - 1) : 0;
    if (length > 0)
        std::memcpy(field, text, length);
    std::memset(field + length, 0, field_size - length);
}

bool is_valid_line(const SharedLine& line) {
    return line.magic == kLineMagic && line.version == kLineVersion &&
           line.size == sizeof(SharedLine);
}

void reset_line(SharedLine& line, const Scenario& scenario, ULONGLONG scenario_id,
                ULONGLONG boot_id, DWORD handle_seed) {
    const DWORD next_handle = is_valid_line(line) ? line.next_handle : handle_seed;
    std::memset(&line, 0, sizeof line);
    line.magic = kLineMagic;
    line.version = kLineVersion;
    line.size = sizeof(SharedLine);
    line.next_handle = next_handle;
    line.scenario_id = scenario_id;
    line.boot_id = boot_id;
    for (const PresetConnection& c : scenario.connections) {
        ConnectionSlot* slot = open_connection(line, c.entry_name.c_str(), scenario, 0, 0);
        if (!slot)
            break;
        slot->state = c.state;
        slot->phase = c.state == RASCS_Connected ? Phase::Connected : Phase::Dialing;
    }
}

ConnectionSlot* find_connection(SharedLine& line, DWORD handle) {
    if (handle == 0)
        return nullptr;
    for (ConnectionSlot& s : line.slots) {
        if (s.phase != Phase::Free && s.handle == handle)
            return &s;
    }
    return nullptr;
}

ConnectionSlot* open_connection(SharedLine& line, const char* entry_name, const Scenario& scenario,
                                DWORD owner_process_id, ULONGLONG owner_started) {
    for (ConnectionSlot& s : line.slots) {
        if (s.phase != Phase::Free)
            continue;
        std::memset(&s, 0, sizeof s);
        s.handle = take_handle(line);
        s.phase = Phase::Dialing;
        s.state = RASCS_OpenPort;
        s.serial = ++line.next_serial;
        s.owner_process_id = owner_process_id;
        s.owner_started = owner_started;
        s.gone_at = kNever;
        copy_text(s.entry_name, sizeof s.entry_name, entry_name);
        copy_text(s.device_type, sizeof s.device_type, scenario.device_type.c_str());
        copy_text(s.device_name, sizeof s.device_name, scenario.device_name.c_str());
        return &s;
    }
    return nullptr;
}

void hang_up(ConnectionSlot& slot, ULONGLONG now, DWORD hang_up_ms, bool never_completes) {
    slot.phase = Phase::HangingUp;
    slot.state = RASCS_Disconnected;
    slot.error = 0;
    slot.owner_process_id = 0;
    slot.owner_started = 0;
    slot.gone_at = never_completes ? kNever : now + hang_up_ms;
}

void settle(SharedLine& line, ULONGLONG now, DWORD hang_up_ms, OwnerAlive alive, void* context) {
    for (ConnectionSlot& s : line.slots) {
        if (s.phase == Phase::HangingUp && s.gone_at != kNever && now >= s.gone_at) {
            std::memset(&s, 0, sizeof s);
            continue;
        }
        if ((s.phase == Phase::Dialing || s.phase == Phase::Failed) && s.owner_process_id != 0 &&
            !alive(s.owner_process_id, s.owner_started, context)) {
            hang_up(s, now, hang_up_ms, false);
            if (hang_up_ms == 0)
                std::memset(&s, 0, sizeof s);
        }
    }
}

std::size_t listed_connections(SharedLine& line, ConnectionSlot** out, std::size_t capacity) {
    return collect(line, out, capacity, true);
}

std::size_t all_connections(SharedLine& line, ConnectionSlot** out, std::size_t capacity) {
    return collect(line, out, capacity, false);
}

DialRecord& log_dial(SharedLine& line) {
    const DWORD serial = ++line.dial_count;
    DialRecord& record = line.log[(serial - 1) % kDialLogSize];
    std::memset(&record, 0, sizeof record);
    record.serial = serial;
    return record;
}

std::size_t logged_dials(const SharedLine& line, const DialRecord** out, std::size_t capacity) {
    const std::size_t kept = std::min<std::size_t>(line.dial_count, kDialLogSize);
    const DWORD first = line.dial_count - static_cast<DWORD>(kept) + 1;
    std::size_t written = 0;
    for (std::size_t i = 0; i < kept && written < capacity; ++i) {
        const DWORD serial = first + static_cast<DWORD>(i);
        out[written++] = &line.log[(serial - 1) % kDialLogSize];
    }
    return written;
}

}  // namespace tolvane::simline
