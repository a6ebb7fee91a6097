// The operations through which handlers read and change the main window's
// controls. None of them reports a failure.
#pragma once

#include <windows.h>

#include <optional>

#include "app/control_table.h"
#include "app/text.h"

namespace tolvane {

// The text in the control, fresh; an empty text comes back missing.
Text get_control_text(Control control);
// A null text counts as empty. A label is also repainted.
void set_control_text(Control control, const char* text);
void set_control_disabled(Control control, bool disabled);
bool is_control_checked(Control control);
void set_control_checked(Control control, bool checked);
// The control's window, or null once it no longer exists; Control::main_window
// gives the main window.
HWND control_window_handle(Control control);

// Which control of the main window a window is, if any.
std::optional<Control> control_for_window(HWND window);

}  // namespace tolvane
