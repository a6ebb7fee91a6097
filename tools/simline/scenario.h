// The scenario of the simulated line: its phonebook, the connections that are
// up from the start, the credentials it accepts, its timings and the failures
// it injects. Parsed from the text of a scenario file (see README.md); pure
// logic, no platform calls.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialup/ras_records.h"

namespace tolvane::simline {

// Bounds that keep a hostile scenario from making the line unbounded.
inline constexpr std::size_t kMaxPhonebookEntries = 4096;
inline constexpr std::size_t kMaxPresetConnections = 16;
inline constexpr DWORD kMaxTimeMs = 600000;

// The states a dial walks through, in order.
inline constexpr RASCONNSTATE kDialWalk[] = {
    RASCS_OpenPort,        RASCS_PortOpened,          RASCS_ConnectDevice,
    RASCS_DeviceConnected, RASCS_AllDevicesConnected, RASCS_Authenticate,
    RASCS_AuthNotify,      RASCS_Authenticated,       RASCS_Projected,
    RASCS_Connected};

// "OpenPort" etc. (the platform name without its RASCS_ prefix); null for a
// state outside the walk and RASCS_Disconnected.
const char* state_name(RASCONNSTATE state);
// Case-insensitive; the walk's states and "Disconnected".
std::optional<RASCONNSTATE> state_from_name(std::string_view name);

// One pair the line accepts; an "any" flag stands for any non-empty text.
struct Credentials {
    bool any_user_name = false;
    std::string user_name;
    bool any_password = false;
    std::string password;
};

struct PresetConnection {
    std::string entry_name;
    RASCONNSTATE state = RASCS_Connected;
};

struct StateTime {
    RASCONNSTATE state;
    DWORD ms;
};

struct StateFailure {
    RASCONNSTATE state;
    DWORD error;
};

struct Scenario {
    // Texts are code page 936 byte strings, as the service hands them out.
    std::vector<std::string> entries;
    std::vector<PresetConnection> connections;
    // Empty: every pair is accepted.
    std::vector<Credentials> credentials;
    DWORD state_ms = 300;
    std::vector<StateTime> state_ms_overrides;
    DWORD hang_up_ms = 300;
    std::string device_type = "PPPoE";
    std::string device_name = "WAN Miniport (PPPOE)";
    // The first state reaches the notifier before RasDialA returns.
    bool early_first_state = false;

    // Injected failures.
    std::optional<DWORD> refuse_dial;
    bool refuse_dial_with_handle = false;
    std::optional<DWORD> fail_enum_entries;
    std::optional<DWORD> fail_enum_connections;
    std::optional<StateFailure> fail_at;
    bool hang_up_never_completes = false;

    // The time before the state is reported (after the previous one).
    DWORD delay_before(RASCONNSTATE state) const;
    bool accepts(std::string_view user_name, std::string_view password) const;
};

struct ParseResult {
    Scenario scenario;
    // Empty when the text parsed; else "line N: what is wrong".
    std::string problem;
};

// `text` is code page 936 (DBCS-aware: a trail byte is never taken for a
// quote, a backslash or a comment sign).
ParseResult parse_scenario(std::string_view text);

// One reported state of a planned dial.
struct DialStep {
    RASCONNSTATE state;
    DWORD delay_ms;
    DWORD error;
};

// The states a dial with these credentials reports, ending with RASCS_Connected
// or with the first step that carries an error.
std::vector<DialStep> plan_dial(const Scenario& scenario, std::string_view user_name,
                                std::string_view password);

// Entry names compare as the phonebook does: ASCII letters without regard to
// case, every other byte (double-byte characters whole) exactly.
bool same_entry_name(std::string_view a, std::string_view b);

}  // namespace tolvane::simline
