// The state of the simulated line that all processes share: its connections
// and the log of dials. One fixed-size record, kept in a file mapped by every
// process that uses the line and guarded by a named mutex (line_store.h).
// Pure logic here: the record and its transitions, with time and process
// liveness passed in.
#pragma once

#include <windows.h>

#include <cstddef>

#include "dialup/ras_records.h"
#include "tools/simline/scenario.h"

namespace tolvane::simline {

inline constexpr DWORD kLineMagic = 0x4C534C54;  // "TLSL"
inline constexpr DWORD kLineVersion = 1;
inline constexpr std::size_t kMaxConnections = 64;
inline constexpr std::size_t kDialLogSize = 64;
inline constexpr ULONGLONG kNever = ~0ULL;

enum class Phase : DWORD {
    Free = 0,
    Dialing,    // states still coming, driven by the dialing process
    Connected,  // belongs to the system now
    Failed,     // the dial ended with an error; waits for its hang-up
    HangingUp,  // RasHangUpA called; goes when `gone_at` has passed
};

struct ConnectionSlot {
    DWORD handle;  // 0 when the slot is free
    Phase phase;
    RASCONNSTATE state;
    DWORD error;
    DWORD serial;  // creation order
    // The process whose dial drives the connection (0: none). A dial that
    // never reached RASCS_Connected does not outlive it.
    DWORD owner_process_id;
    ULONGLONG owner_started;  // the owner's creation time, against reused ids
    ULONGLONG gone_at;        // tick count (ms) at which a hang-up completes
    char entry_name[kRasMaxEntryName + 1];
    char device_type[kRasMaxDeviceType + 1];
    char device_name[kRasMaxDeviceName + 1];
};

struct DialRecord {
    DWORD serial;  // 1 for the first dial after a reset
    DWORD process_id;
    DWORD handle;  // 0 when RasDialA handed out none
    DWORD result;  // what RasDialA returned
    DWORD synchronous;
    char entry_name[kRasMaxEntryName + 1];
    char phone_number[kRasMaxPhoneNumber + 1];
    char user_name[kRasMaxUserName + 1];
    char password[kRasMaxPassword + 1];
};

struct SharedLine {
    DWORD magic;
    DWORD version;
    DWORD size;
    DWORD next_handle;
    ULONGLONG scenario_id;  // the scenario the state belongs to
    ULONGLONG boot_id;      // the system start the tick counts refer to
    DWORD next_serial;
    DWORD dial_count;  // dials since the reset; the log keeps the last ones
    ConnectionSlot slots[kMaxConnections];
    DialRecord log[kDialLogSize];
};

// True when the record is a line of this layout (not a fresh, zeroed file).
bool is_valid_line(const SharedLine& line);

// Every connection gone and the log emptied; then the scenario's connections
// of other programs come up. Handle values keep counting, so that a handle of
// the old line never names a connection of the new one.
void reset_line(SharedLine& line, const Scenario& scenario, ULONGLONG scenario_id,
                ULONGLONG boot_id, DWORD handle_seed);

ConnectionSlot* find_connection(SharedLine& line, DWORD handle);

// A new connection in RASCS_OpenPort, dialed by the process; null when every
// slot is taken.
ConnectionSlot* open_connection(SharedLine& line, const char* entry_name, const Scenario& scenario,
                                DWORD owner_process_id, ULONGLONG owner_started);

// The connection starts going down; it disappears after the hang-up time (or
// never, for a hang-up that does not complete).
void hang_up(ConnectionSlot& slot, ULONGLONG now, DWORD hang_up_ms, bool never_completes);

using OwnerAlive = bool (*)(DWORD process_id, ULONGLONG started, void* context);

// Brings the line up to `now`: completed hang-ups free their slots; dials
// whose process has gone are torn down, as the service does when the dialing
// client disappears.
void settle(SharedLine& line, ULONGLONG now, DWORD hang_up_ms, OwnerAlive alive, void* context);

// The connections RasEnumConnectionsA lists (dialing, connected or failed, not
// those going down), in the order they were made. Returns how many; writes
// at most `capacity` slots.
std::size_t listed_connections(SharedLine& line, ConnectionSlot** out, std::size_t capacity);

// Every slot in use, going down included, in the order they were made.
std::size_t all_connections(SharedLine& line, ConnectionSlot** out, std::size_t capacity);

// Appends a dial to the log (the oldest falls out when it is full) and
// returns it.
DialRecord& log_dial(SharedLine& line);

// The logged dials still kept, oldest first. Returns how many.
std::size_t logged_dials(const SharedLine& line, const DialRecord** out, std::size_t capacity);

// Copies a text into a fixed field, cut to fit and always terminated.
void copy_text(char* field, std::size_t field_size, const char* text);

}  // namespace tolvane::simline
