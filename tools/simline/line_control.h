// For test programs: the scenario of the simulated line, its reset, and a look
// at its connections and its log of dials. Works through the SimLine* exports
// of the simulator (the rasapi32.dll next to the test program).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "dialup/ras_records.h"

namespace tolvane::line_control {

enum class Phase {
    Dialing,    // states still coming
    Connected,  // up; belongs to the system
    Failed,     // the dial ended with an error and waits for its hang-up
    HangingUp,  // hung up; gone after the scenario's hang-up time
};

struct Connection {
    HRASCONN handle = nullptr;
    std::string entry_name;
    Phase phase = Phase::Dialing;
    RASCONNSTATE state = 0;
    DWORD error = 0;
    DWORD owner_process_id = 0;  // the dialing process while its dial runs
};

struct Dial {
    DWORD serial = 0;  // 1 for the first dial after a reset
    DWORD process_id = 0;
    HRASCONN handle = nullptr;  // what RasDialA handed out, if anything
    DWORD result = 0;           // what RasDialA returned
    bool synchronous = false;
    std::string entry_name;
    std::string phone_number;
    std::string user_name;
    std::string password;
};

// True when the rasapi32.dll this process loads is the simulated line.
bool line_available();

// Writes the scenario `text` (code page 936, as this project's sources compile
// their narrow literals) to `path` as UTF-8, points TOLVANE_LINE_SCENARIO at
// it for this process and every process it starts from now on, and resets
// the line. False when the file cannot be written, the line is not there, or
// the scenario does not parse (scenario_problem() says why).
bool use_scenario(const std::string& path, const std::string& text);
// A path for a scenario file in the temporary directory.
std::string temporary_scenario_path(const std::string& file_name);
// Clears the variable (the built-in default scenario applies) and resets.
bool use_default_scenario();

// Every connection gone, the dial log emptied, the scenario's connections of
// other programs up again. Dials of this process are stopped first.
bool reset_line();

// Every connection on the line, those going down included, oldest first.
std::vector<Connection> connections();
std::optional<Connection> find_connection(HRASCONN handle);
// The dials still kept (the last 64 since the reset), oldest first.
std::vector<Dial> dial_log();
// Dials since the reset, also those the log no longer keeps.
DWORD dial_count();

// Why the scenario in force is not used as it stands; empty when it is.
std::string scenario_problem();
// The scenario file in force; empty for the built-in scenario.
std::string scenario_path();

}  // namespace tolvane::line_control
