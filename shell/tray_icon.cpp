#include "shell/tray_icon.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "app/control_access.h"
#include "app/main_window.h"
#include "app/win_handle.h"
#include "shell/icon_directory.h"
#include "shell/notify_icon.h"
#include "shell/tray_menu.h"
#include "shell/tray_notification.h"
#include "shell/window_display.h"

namespace tolvane {
namespace {

constexpr DWORD kIconFormatVersion = 0x30000;
constexpr int kTrayIconWidth = 16;
constexpr int kFallbackIconWidth = 32;
constexpr int kMenuOffset = 5;  // the menu stands this far left of and above the cursor

// The main window's icon in the notification area; null while it has none.
UniqueIcon g_tray_icon;

UniqueIcon create_icon(ByteBlock block, int wanted_width) {
    const std::optional<IconImage> image = choose_icon_image(block.data, block.size, wanted_width);
    if (!image)
        return UniqueIcon();
    // An image inside an ICO file need not start on a 4-byte boundary, and
    // the creation functions read it as DWORD-aligned bitmap data.
    const std::size_t words = (image->size + sizeof(DWORD) - 1) / sizeof(DWORD);
    std::unique_ptr<DWORD[]> copy(new (std::nothrow) DWORD[words]());
    if (!copy)
        return UniqueIcon();
    std::memcpy(copy.get(), block.data + image->offset, image->size);
    auto* bytes = reinterpret_cast<PBYTE>(copy.get());
    const auto size = static_cast<DWORD>(image->size);

    UniqueIcon icon(CreateIconFromResourceEx(bytes, size, TRUE, kIconFormatVersion, image->width,
                                             image->height, LR_DEFAULTCOLOR));
    if (!icon && image->bit_count != 16)
        icon.reset(CreateIconFromResource(bytes, size, TRUE, kIconFormatVersion));
    return icon;
}

UniqueIcon create_tray_icon(ByteBlock block) {
    UniqueIcon icon = create_icon(block, kTrayIconWidth);
    if (!icon)
        icon = create_icon(block, kFallbackIconWidth);
    return icon;
}

HWND main_window() {
    return control_window_handle(Control::main_window);
}

}  // namespace

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

void set_tray_icon(ByteBlock icon_block, const char* tip) {
    HWND window = main_window();
    if (window == nullptr)
        return;
    UniqueIcon icon = create_tray_icon(icon_block);
    if (g_tray_icon) {
        if (icon) {
            NOTIFYICONDATAA record = tray_icon_record(window, icon.get(), tip);
            notify_icon(NIM_MODIFY, record);
        } else {
            NOTIFYICONDATAA record = tray_icon_delete_record(window, tip);
            notify_icon(NIM_DELETE, record);
        }
        g_tray_icon.reset();  // the shell keeps its own copy of the picture
    } else if (icon) {
        NOTIFYICONDATAA record = tray_icon_record(window, icon.get(), tip);
        notify_icon(NIM_ADD, record);
    }
    g_tray_icon = std::move(icon);
}

void remove_tray_icon() {
    if (!g_tray_icon)
        return;
    NOTIFYICONDATAA record = tray_icon_delete_record(main_window());
    notify_icon(NIM_DELETE, record);
    g_tray_icon.reset();
}

void handle_tray_notification(int code) {
    switch (code) {
        case kTrayMenuRequest:
            popup_tray_menu();
            break;
        case kTrayLeftButtonUp:
            if (is_main_window_visible()) {
                set_main_window_visible(false);
            } else {
                set_main_window_visible(true);
                set_main_window_position(kPositionCentred);
            }
            break;
        default:
            break;  // the double click toggles nothing of its own
    }
}

void popup_tray_menu() {
    HWND window = main_window();
    if (window == nullptr)
        return;
    UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return;
    for_each_tray_menu_item([&](std::size_t index) {
        AppendMenuA(menu.get(), MF_STRING, kFirstMenuCommand + index, kMenuDefinition[index].text);
    });
    POINT cursor = {};
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks
    // elsewhere; needed while the window is hidden too.
    SetForegroundWindow(window);
    TrackPopupMenu(menu.get(), TPM_RIGHTALIGN, cursor.x - kMenuOffset, cursor.y - kMenuOffset, 0,
                   window, nullptr);
    // A message after the menu has closed; without it the menu shown at the
    // next click can close again at once.
    PostMessageA(window, WM_NULL, 0, 0);
}

void handle_show_item() {
    set_main_window_visible(true);
    set_main_window_position(kPositionCentred);
}

void handle_hide_item() {
    set_main_window_visible(false);
}

void handle_close_item() {
    destroy_main_window();
}

}  // namespace tolvane
