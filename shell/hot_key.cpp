#include "shell/hot_key.h"

#include "app/main_window.h"
#include "shell/web_page.h"

namespace tolvane {
namespace {

// The process's one hot-key registry, touched only on the user-interface
// thread.
struct HotKeyRegistry {
    WNDPROC previous_procedure = nullptr;  // null while the module holds no window
    int live_registrations = 0;
    int registrations_made = 0;
    int highest_identifier = 0;
    HWND notification_target = nullptr;
};

HotKeyRegistry g_registry;

static_assert(sizeof(LONG) == sizeof(WNDPROC), "a 32-bit program: SetWindowLongA holds a WNDPROC");

LRESULT CALLBACK hot_key_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_HOTKEY && wparam >= static_cast<WPARAM>(kFirstHotKeyIdentifier) &&
        wparam <= static_cast<WPARAM>(g_registry.highest_identifier)) {
        // One of ours (other hot keys of the window are passed on untouched).
        SendMessageA(g_registry.notification_target, kHotKeyNotificationMessage, wparam, 0);
    }
    // Every message, WM_HOTKEY included, goes on to the window's own
    // procedure. The registry only loses it when the procedure is put back,
    // after which this one is no longer called.
    if (g_registry.previous_procedure == nullptr)
        return DefWindowProcA(window, message, wparam, lparam);
    return CallWindowProcA(g_registry.previous_procedure, window, message, wparam, lparam);
}

}  // namespace

int register_hot_key(HWND window, HWND target, int modifier_code, UINT virtual_key) {
    g_registry.notification_target = target;
    const UINT modifiers = hot_key_modifiers(modifier_code);
    if (g_registry.previous_procedure == nullptr) {
        g_registry.previous_procedure = reinterpret_cast<WNDPROC>(
            SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(&hot_key_procedure)));
    }
    ++g_registry.live_registrations;
    ++g_registry.registrations_made;
    const int identifier = kFirstHotKeyIdentifier - 1 + g_registry.registrations_made;
    g_registry.highest_identifier = identifier;
    return RegisterHotKey(window, identifier, modifiers, virtual_key) ? identifier : 0;
}

bool release_hot_key(HWND window, int identifier) {
    const bool released = UnregisterHotKey(window, identifier) != 0;
    if (g_registry.live_registrations > 0)
        --g_registry.live_registrations;
    if (g_registry.previous_procedure != nullptr && g_registry.live_registrations == 0) {
        SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(g_registry.previous_procedure));
        g_registry.previous_procedure = nullptr;
    }
    return released;
}

void handle_hot_key_notification(int, int) {
    // Whatever the identifier: 标签6 hears of no other hot key.
    handle_open_page_clicked();
}

}  // namespace tolvane
