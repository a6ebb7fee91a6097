#include "shell/tray_icon.h"

#include <windows.h>

namespace tolvane {

ByteBlock program_tray_icon_block() {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, "TRAY_ICON", MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (resource == nullptr)
        return {nullptr, 0};
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return {nullptr, 0};
    return {static_cast<const unsigned char*>(data), SizeofResource(module, resource)};
}

// Not yet built: the program runs without a tray icon.
void set_tray_icon(ByteBlock, const char*) {}
void remove_tray_icon() {}
void handle_tray_notification(int) {}
void popup_tray_menu() {}
void handle_show_item() {}
void handle_hide_item() {}
void handle_close_item() {}

}  // namespace tolvane
