#include "style/visual_style.h"

#include <windows.h>

#include "app/win_handle.h"
#include "style/skin_control.h"
#include "style/skin_scheme.h"

namespace tolvane {
namespace {

// Controls created on the user-interface thread while the skin is on are
// taken while they are created, before their first message.
UniqueHook g_creation_hook;

LRESULT CALLBACK creation_hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lparam);
        if (create && create->lpcs)
            offer_window(reinterpret_cast<HWND>(wparam), create->lpcs);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

BOOL CALLBACK offer_descendant(HWND window, LPARAM) {
    if (offer_window(window, nullptr))
        redraw_control(window);
    return TRUE;
}

BOOL CALLBACK offer_top_level(HWND window, LPARAM) {
    offer_descendant(window, 0);
    // All descendants, not only the children.
    EnumChildWindows(window, offer_descendant, 0);
    return TRUE;
}

void switch_off() {
    g_creation_hook.reset();
    release_all_controls();
    set_skin_scheme(0);
}

}  // namespace

int set_visual_style(int scheme) {
    if (skin_scheme() != 0)
        switch_off();
    if (!is_scheme(scheme))
        return 0;
    set_skin_scheme(scheme);
    g_creation_hook.reset(SetWindowsHookExA(WH_CBT, creation_hook, nullptr, GetCurrentThreadId()));
    EnumThreadWindows(GetCurrentThreadId(), offer_top_level, 0);
    return 1;
}

}  // namespace tolvane
