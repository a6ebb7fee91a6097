// Dials, tests and hangs up connections through the Remote Access Service.
// Runs on the user-interface thread, except dial_notifier, which the service
// calls on a thread of its own.
#pragma once

#include <windows.h>

#include <optional>

#include "app/control_table.h"
#include "dialup/ras_records.h"

namespace tolvane {

// The dial of this process that is not yet released. The two fields are
// single machine words, read and written whole; the notifier writes only
// while both are set, and the user-interface thread clears at least one of
// them before any hang-up, so no lock is needed.
struct DialState {
    HRASCONN connection = nullptr;  // written by RasDialA itself
    HWND status_window = nullptr;   // set only after RasDialA accepted the dial
    // At normal process exit: settles the last dial.
    ~DialState();
};

extern DialState dial_state;

// Dials `entry` ("@n": the n-th phonebook entry, "@" the first; any other
// text is a phone number) with the credentials. Without `synchronous` the
// dial runs in the background and its states go to `status_control`. True
// when the service accepted the dial. A user name, password or phone number
// longer than its field is refused rather than cut: a cut one would be sent
// to the line altered.
bool dial(const char* entry, const char* user_name, const char* password, bool synchronous = false,
          std::optional<Control> status_control = std::nullopt);
// Whether the stored connection, or any connection of the system, is up.
bool is_online();
// Hangs up the stored connection, then every connection the system lists.
void hang_up_all();
// At process exit: an unfinished or failed dial is hung up, an established
// connection stays up.
void clean_up_dial_state();

// The RasDialFunc of asynchronous dials.
void WINAPI dial_notifier(UINT message, RASCONNSTATE state, DWORD error);

// Whether `window` is the status window of the current, unreleased dial:
// the status label asks before it takes a text sent from another thread, so
// that a notification already under way when the dial was released changes
// nothing.
bool is_current_dial_status_window(HWND window) noexcept;

}  // namespace tolvane
