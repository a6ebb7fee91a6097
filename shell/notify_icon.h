// The notification-area record in its first, smallest layout (88 bytes),
// which every version of the shell accepts. The platform header describes
// only the newest layout, so the program defines its own.
#pragma once

#include <windows.h>

#include <cstddef>

namespace tolvane {

inline constexpr UINT kTrayIconId = 100;
inline constexpr std::size_t kTrayTipBytes = 64;
// The tip bytes copied at most; the rest of the field stays zero.
inline constexpr std::size_t kTrayTipCopied = 62;
inline constexpr UINT kTrayIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;  // 7

struct NOTIFYICONDATAA {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[kTrayTipBytes];
};

static_assert(sizeof(NOTIFYICONDATAA) == 88);
static_assert(offsetof(NOTIFYICONDATAA, hWnd) == 4);
static_assert(offsetof(NOTIFYICONDATAA, uID) == 8);
static_assert(offsetof(NOTIFYICONDATAA, uFlags) == 12);
static_assert(offsetof(NOTIFYICONDATAA, uCallbackMessage) == 16);
static_assert(offsetof(NOTIFYICONDATAA, hIcon) == 20);
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 24);

// The record for adding or changing the window's icon: flags 7, the
// callback message, the icon and the tip.
NOTIFYICONDATAA tray_icon_record(HWND window, HICON icon, const char* tip) noexcept;
// The record for deleting it: flags 0, no callback message, no icon.
NOTIFYICONDATAA tray_icon_delete_record(HWND window, const char* tip = nullptr) noexcept;

// Copies at most kTrayTipCopied bytes of the tip, whole characters of code
// page 936 only, and zero-fills the rest of the field.
void copy_tray_tip(char (&field)[kTrayTipBytes], const char* tip) noexcept;

// Shell_NotifyIconA with the 88-byte record. Kept alone in its own object
// file so that a test program can link its own in its place.
BOOL notify_icon(DWORD message, NOTIFYICONDATAA& record);

}  // namespace tolvane
