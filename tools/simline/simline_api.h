// The simulated line's own exports, beside the five service functions: what
// tests need to reset the line and look into it. Named SimLine*, so that they
// are never taken for functions of the service.
#pragma once

#include <windows.h>

#include "dialup/ras_records.h"

extern "C" {

// The phases of a connection on the line.
enum SimLinePhase : DWORD {
    SimLinePhaseDialing = 1,
    SimLinePhaseConnected = 2,
    SimLinePhaseFailed = 3,
    SimLinePhaseHangingUp = 4,
};

struct SimLineConnection {
    DWORD dwSize;
    DWORD handle;
    DWORD phase;  // SimLinePhase
    DWORD state;  // RASCONNSTATE
    DWORD error;
    DWORD owner_process_id;  // the dialing process while the dial runs, else 0
    char entry_name[tolvane::kRasMaxEntryName + 1];
    char device_type[tolvane::kRasMaxDeviceType + 1];
    char device_name[tolvane::kRasMaxDeviceName + 1];
};

struct SimLineDial {
    DWORD dwSize;
    DWORD serial;  // 1 for the first dial after a reset
    DWORD process_id;
    DWORD handle;  // what RasDialA handed out; 0 for none
    DWORD result;  // what RasDialA returned
    DWORD synchronous;
    char entry_name[tolvane::kRasMaxEntryName + 1];
    char phone_number[tolvane::kRasMaxPhoneNumber + 1];
    char user_name[tolvane::kRasMaxUserName + 1];
    char password[tolvane::kRasMaxPassword + 1];
};

struct SimLineInfo {
    DWORD dwSize;
    DWORD builtin;     // the built-in scenario is in force
    DWORD dial_count;  // dials since the last reset
    char scenario_path[520];
    char problem[1024];  // why the scenario file is not used as it stands
};

// The line back to its scenario's start, the scenario file read again; this
// process's dials are stopped first. 0, or an error.
DWORD WINAPI SimLineReset(void);
// Every connection on the line, those going down included, in the order they
// were made. Writes at most `capacity`; `count` receives how many there are.
DWORD WINAPI SimLineListConnections(SimLineConnection* connections, DWORD capacity, DWORD* count);
// The dials still kept in the log (the last 64), oldest first.
DWORD WINAPI SimLineReadDialLog(SimLineDial* dials, DWORD capacity, DWORD* count);
DWORD WINAPI SimLineGetInfo(SimLineInfo* info);
}
