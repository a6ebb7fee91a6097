// The skin's record of one control it has taken.
#pragma once

#include <windows.h>

#include "style/control_kind.h"
#include "style/skin_look.h"

namespace tolvane {

struct SkinnedControl {
    HWND window = nullptr;
    WNDPROC original = nullptr;  // the procedure the skin took over
    bool unicode = false;        // subclassed through the wide functions
    SkinKind kind = SkinKind::push_button;
    // False once the skin is off but another procedure was put on top of
    // the skin's, which then only passes messages on until it can go.
    bool active = true;
    ButtonLook look;
    bool read_only = false;
    // Nesting of calls into the control's own procedure with its drawing
    // kept off the screen.
    int quiet_depth = 0;
};

// The control's own handling of a message.
inline LRESULT call_original(const SkinnedControl& control, UINT message, WPARAM wparam,
                             LPARAM lparam) {
    return control.unicode
               ? CallWindowProcW(control.original, control.window, message, wparam, lparam)
               : CallWindowProcA(control.original, control.window, message, wparam, lparam);
}

}  // namespace tolvane
