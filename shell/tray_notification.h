// The tray icon's mouse notifications, as the codes of the main window's
// tray notification event.
#pragma once

#include <windows.h>

namespace tolvane {

inline constexpr int kTrayLeftButtonUp = 1;
inline constexpr int kTrayLeftDoubleClick = 2;
inline constexpr int kTrayMenuRequest = 3;

// The code for the mouse message in lParam of the tray callback; 0 for the
// messages that raise no event (moves, button presses).
constexpr int tray_notification_code(UINT mouse_message) noexcept {
    switch (mouse_message) {
        case WM_LBUTTONUP:
            return kTrayLeftButtonUp;
        case WM_LBUTTONDBLCLK:
            return kTrayLeftDoubleClick;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
            return kTrayMenuRequest;
        default:
            return 0;
    }
}

}  // namespace tolvane
