// System-wide hot keys, delivered as a notification to a control.
#pragma once

#include <windows.h>

namespace tolvane {

inline constexpr int kFirstHotKeyIdentifier = 33001;

// Registers the key for the window and sends its presses to `target` as
// message 0x8075 (identifier, 0). Returns the identifier, or 0 when the
// registration failed.
int register_hot_key(HWND window, HWND target, int modifier_code, UINT virtual_key);
bool release_hot_key(HWND window, int identifier);

// The notification event of 标签6.
void handle_hot_key_notification(int identifier, int extra);

}  // namespace tolvane
