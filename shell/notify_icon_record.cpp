#include "app/main_window.h"
#include "app/program_directory.h"
#include "shell/notify_icon.h"

namespace tolvane {

void copy_tray_tip(char (&field)[kTrayTipBytes], const char* tip) noexcept {
    for (char& c : field)
        c = '\0';
    if (tip == nullptr)
        return;
    std::size_t n = 0;
    while (tip[n] != '\0') {
        // A double-byte character is copied whole or not at all: half of one
        // would show as a stray glyph at the end of the tip.
        const std::size_t width =
            is_cp936_lead_byte(static_cast<unsigned char>(tip[n])) && tip[n + 1] != '\0' ? 2 : 1;
        if (n + width > kTrayTipCopied)
            break;
        for (std::size_t i = 0; i < width; ++i)
            field[n + i] = tip[n + i];
        n += width;
    }
}

NOTIFYICONDATAA tray_icon_record(HWND window, HICON icon, const char* tip) noexcept {
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = kTrayIconId;
    record.uFlags = kTrayIconFlags;
    record.uCallbackMessage = kTrayCallbackMessage;
    record.hIcon = icon;
    copy_tray_tip(record.szTip, tip);
    return record;
}

NOTIFYICONDATAA tray_icon_delete_record(HWND window, const char* tip) noexcept {
    NOTIFYICONDATAA record = {};
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = kTrayIconId;
    copy_tray_tip(record.szTip, tip);
    return record;
}

}  // namespace tolvane
