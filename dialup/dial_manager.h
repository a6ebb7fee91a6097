// Dials, tests and hangs up connections through the Remote Access Service.
#pragma once

#include <windows.h>

#include "app/control_table.h"
#include "dialup/ras_records.h"

namespace tolvane {

// The dial of this process that is not yet released. The two fields are
// single words written whole; the notifier (on a thread of the service)
// writes only while both are set.
struct DialState {
    HRASCONN volatile connection = nullptr;
    HWND volatile status_window = nullptr;
    ~DialState();
};

extern DialState dial_state;

// Dials entry ("@n": the n-th phonebook entry; anything else a phone number)
// with the credentials. Asynchronous unless `synchronous`; the state texts
// go to the status control when one is given.
bool dial(const char* entry, const char* user_name, const char* password, bool synchronous = false,
          const Control* status_control = nullptr);
bool is_online();
void hang_up_all();
void clean_up_dial_state();

// The RasDialFunc of asynchronous dials.
void WINAPI dial_notifier(UINT message, RASCONNSTATE state, DWORD error);

}  // namespace tolvane
