// The main window's own keys (Esc, Tab, Shift+Tab) and where the focus goes
// when the window gets it.
#pragma once

#include <windows.h>

namespace tolvane {

// Applied to each message before it is translated and dispatched; true when
// the key was the window's own and goes no further.
bool apply_keyboard_handling(const MSG& message);

// After the main window's default WM_SETFOCUS processing.
void hand_over_focus();

// On WM_ACTIVATE with WA_INACTIVE.
void remember_focus();

}  // namespace tolvane
