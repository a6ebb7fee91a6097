// A stand-in for the Remote Access Service, linked into the dial tests in
// place of rasapi32's five functions. It records every call and lets a test
// report dial states from a thread of its own, as the service does.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "dialup/ras_records.h"

namespace tolvane::testing {

struct FakeConnection {
    HRASCONN handle;
    RASCONNSTATE state;
    bool listed;  // returned by RasEnumConnectionsA
    bool status_fails = false;
};

struct DialCall {
    LPVOID dial_extensions;
    std::string phonebook;  // "(null)" when null
    RASDIALPARAMSA params;
    DWORD notifier_type;
    LPVOID notifier;
    HRASCONN* connection_out;
};

struct EnumCall {
    DWORD first_record_size;
    DWORD byte_count;
    DWORD count;
    bool reserved_null;
    bool phonebook_null;
};

class FakeRas {
  public:
    // Configuration.
    std::vector<std::string> entries;
    DWORD enum_entries_result = 0;      // forced result when not 0
    DWORD enum_connections_result = 0;  // forced result when not 0
    DWORD dial_result = 0;
    bool dial_stores_handle_on_failure = true;
    RASCONNSTATE dialed_state = RASCS_OpenPort;  // state of a fresh dial
    // Status queries after a hang-up before the handle is gone; -1 never.
    int polls_until_gone = 2;
    std::function<void()> inside_dial;  // runs before RasDialA returns
    std::function<void(HRASCONN)> on_hang_up;

    // Records.
    std::vector<DialCall> dials;
    std::vector<EnumCall> entry_enums;
    std::vector<EnumCall> connection_enums;
    std::vector<HRASCONN> hang_ups;
    std::vector<std::string> log;  // "enum_entries", "dial", "hang_up N", "enum_connections"
    int status_queries = 0;

    // The line: connections by handle.
    std::map<HRASCONN, FakeConnection> connections;
    std::map<HRASCONN, int> hanging_up;  // polls left

    HRASCONN add_connection(RASCONNSTATE state, bool listed);
    void set_state(HRASCONN handle, RASCONNSTATE state);
    bool exists(HRASCONN handle);
    HRASCONN last_dialed() const { return last_dialed_; }

    std::mutex mutex;

    // Used by the fake functions.
    HRASCONN new_handle();
    HRASCONN last_dialed_ = nullptr;

  private:
    UINT_PTR next_handle_ = 0x1000;
};

FakeRas& fake_ras();
// A fresh fake: no entries, no connections, nothing recorded.
void reset_fake_ras();

// Calls the last dial's notifier from a new thread, handling messages until
// it has returned (it sends the label its text).
void report_state(RASCONNSTATE state, DWORD error = 0);

}  // namespace tolvane::testing
