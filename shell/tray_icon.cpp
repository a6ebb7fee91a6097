#include "shell/tray_icon.h"

#include <windows.h>

#include <cstring>
#include <iterator>

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

// The waits before each new attempt to add the icon after a refused one:
// about a minute in all, for a shell that is still starting at log-on.
constexpr UINT kRetryDelaysMs[] = {1000, 2000, 4000, 8000, 15000, 30000};

// The main window's icon; null while it has none.
UniqueIcon g_tray_icon;
// Whether the shell took it: only then is the icon a way back to the window.
bool g_icon_shown = false;
// The tip, kept for adding the icon again.
char g_tip[kTrayTipBytes] = {};
// The delay the next refused attempt waits for; past the end, none is left.
std::size_t g_next_retry = std::size(kRetryDelaysMs);

UniqueIcon create_icon(ByteBlock group, int wanted_width) {
    const std::optional<IconEntry> entry = choose_icon_entry(group.data, group.size, wanted_width);
    if (!entry)
        return UniqueIcon();
    const ByteBlock image = program_icon_image(entry->icon_id);
    const std::optional<IconImageHeader> header = read_icon_image_header(image.data, image.size);
    if (!header)
        return UniqueIcon();
    // Resource data is DWORD-aligned, as the creation functions read it; they
    // only read it, whatever the parameter's type says.
    auto* bytes = const_cast<PBYTE>(image.data);
    const auto size = static_cast<DWORD>(image.size);

    UniqueIcon icon(CreateIconFromResourceEx(bytes, size, TRUE, kIconFormatVersion, header->width,
                                             header->height, LR_DEFAULTCOLOR));
    if (!icon && header->bit_count != 16)
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

void stop_retrying(HWND window) {
    KillTimer(window, kTrayRetryTimer);
    g_next_retry = std::size(kRetryDelaysMs);
}

// Each retry is a timer of its own length, killed as it fires.
void schedule_retry(HWND window) {
    if (g_next_retry >= std::size(kRetryDelaysMs))
        return;  // the attempts are spent; the next TaskbarCreated tries again
    SetTimer(window, kTrayRetryTimer, kRetryDelaysMs[g_next_retry], nullptr);
    ++g_next_retry;
}

// Puts the held icon into the notification area. A shell that timed out
// may have added it all the same, and then only a change is accepted.
bool show_icon(HWND window) {
    NOTIFYICONDATAA record = tray_icon_record(window, g_tray_icon.get(), g_tip);
    g_icon_shown = notify_icon(NIM_ADD, record) || notify_icon(NIM_MODIFY, record);
    if (g_icon_shown)
        stop_retrying(window);
    else
        schedule_retry(window);
    return g_icon_shown;
}

// The first attempt of a series: a refused one starts the retries afresh.
void start_showing_icon(HWND window) {
    stop_retrying(window);
    g_next_retry = 0;
    show_icon(window);
}

ByteBlock program_resource(const char* name, const char* type) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, name, type);
    if (resource == nullptr)
        return {nullptr, 0};
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return {nullptr, 0};
    return {static_cast<const unsigned char*>(data), SizeofResource(module, resource)};
}

}  // namespace

ByteBlock program_tray_icon_block() {
    return program_resource("DEFAULT_ICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
}

ByteBlock program_icon_image(unsigned icon_id) {
    return program_resource(MAKEINTRESOURCEA(icon_id), MAKEINTRESOURCEA(3));  // RT_ICON
}

void set_tray_icon(ByteBlock icon_block, const char* tip) {
    HWND window = main_window();
    if (window == nullptr)
        return;
    UniqueIcon icon = create_tray_icon(icon_block);
    copy_tray_tip(g_tip, tip);
    if (g_tray_icon && g_icon_shown) {
        if (icon) {
            NOTIFYICONDATAA record = tray_icon_record(window, icon.get(), g_tip);
            notify_icon(NIM_MODIFY, record);
        } else {
            NOTIFYICONDATAA record = tray_icon_delete_record(window, g_tip);
            notify_icon(NIM_DELETE, record);
            g_icon_shown = false;
        }
    }
    // The shell keeps its own copy of the picture.
    g_tray_icon = std::move(icon);
    if (!g_tray_icon) {
        stop_retrying(window);
    } else if (!g_icon_shown) {
        start_showing_icon(window);
    }
}

void remove_tray_icon() {
    HWND window = main_window();
    stop_retrying(window);
    if (!g_tray_icon)
        return;
    NOTIFYICONDATAA record = tray_icon_delete_record(window);
    notify_icon(NIM_DELETE, record);
    g_tray_icon.reset();
    g_icon_shown = false;
}

bool is_tray_icon_shown() {
    return g_tray_icon && g_icon_shown;
}

void handle_taskbar_created() {
    HWND window = main_window();
    if (window == nullptr || !g_tray_icon)
        return;
    // A new notification area holds no icons: every one must be added again.
    g_icon_shown = false;
    start_showing_icon(window);
    if (!g_icon_shown && !IsWindowVisible(window)) {
        // Hidden with no icon there would be no way back; the task bar that
        // has just started shows it minimised.
        ShowWindow(window, SW_SHOWMINNOACTIVE);
    }
}

void handle_tray_retry_timer() {
    HWND window = main_window();
    if (window == nullptr)
        return;
    KillTimer(window, kTrayRetryTimer);
    if (g_tray_icon && !g_icon_shown)
        show_icon(window);
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
