// System-wide hot keys, delivered as a notification to a control.
#pragma once

#include <windows.h>

namespace tolvane {

inline constexpr int kFirstHotKeyIdentifier = 33001;

// The RegisterHotKey modifiers for a modifier code: 0 none, 1 Ctrl, 2 Shift,
// 3 Ctrl+Shift, 4 Alt, 5 Alt+Ctrl, 6 Alt+Shift; other codes pass through.
constexpr UINT hot_key_modifiers(int code) noexcept {
    switch (code) {
        case 0:
            return 0;
        case 1:
            return MOD_CONTROL;
        case 2:
            return MOD_SHIFT;
        case 3:
            return MOD_CONTROL | MOD_SHIFT;
        case 4:
            return MOD_ALT;
        case 5:
            return MOD_ALT | MOD_CONTROL;
        case 6:
            return MOD_ALT | MOD_SHIFT;
        default:
            return static_cast<UINT>(code);
    }
}

// Registers the key for the window and sends its presses to `target` as
// message 0x8075 (identifier, 0). The first registration of the process
// takes over the window's procedure for that. Returns the identifier, or 0
// when the registration failed.
int register_hot_key(HWND window, HWND target, int modifier_code, UINT virtual_key);
// Ends a registration; the last one gives the window its procedure back.
// Returns whether UnregisterHotKey succeeded.
bool release_hot_key(HWND window, int identifier);

// The notification event of 标签6.
void handle_hot_key_notification(int identifier, int extra);

}  // namespace tolvane
