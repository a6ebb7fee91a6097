#include "shell/window_display.h"

#include <windows.h>

#include "app/control_access.h"
#include "app/window_geometry.h"
#include "shell/tray_icon.h"

namespace tolvane {
namespace {

HWND main_window() {
    return control_window_handle(Control::main_window);
}

void restore_and_centre(HWND window) {
    if (IsIconic(window) || IsZoomed(window))
        ShowWindow(window, SW_RESTORE);
    RECT outer;
    if (!GetWindowRect(window, &outer))
        return;
    // The whole primary screen, not the work area.
    const int x = centred_origin(GetSystemMetrics(SM_CXSCREEN), outer.right - outer.left);
    const int y = centred_origin(GetSystemMetrics(SM_CYSCREEN), outer.bottom - outer.top);
    if (x != outer.left || y != outer.top) {
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

bool is_main_window_visible() {
    HWND window = main_window();
    return window != nullptr && IsWindowVisible(window) != 0;
}

void set_main_window_visible(bool visible) {
    if (HWND window = main_window())
        ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
}

int main_window_position() {
    HWND window = main_window();
    if (window == nullptr)
        return kPositionNormal;
    if (IsIconic(window))
        return kPositionMinimised;
    if (IsZoomed(window))
        return kPositionMaximised;
    return kPositionNormal;
}

void set_main_window_position(int code) {
    // A hidden window stays where it is; reading the position asks the
    // window itself, so the code needs no keeping.
    HWND window = main_window();
    if (window == nullptr || !IsWindowVisible(window))
        return;
    if (code < kPositionNormal)
        code = kPositionNormal;
    if (code > kPositionMaximised)
        code = kPositionMaximised;
    switch (code) {
        case kPositionNormal:
            ShowWindow(window, SW_SHOWNORMAL);
            break;
        case kPositionCentred:
            restore_and_centre(window);
            break;
        case kPositionMinimised:
            ShowWindow(window, SW_MINIMIZE);
            break;
        case kPositionMaximised:
            ShowWindow(window, SW_MAXIMIZE);
            break;
        default:
            break;
    }
}

void handle_window_moved() {
    // Minimising moves the window, so this runs while it is already iconic;
    // hidden, it leaves the task bar and the tray icon is the way back. With
    // no icon in the notification area it stays on the task bar.
    if (main_window_position() == kPositionMinimised && is_tray_icon_shown())
        set_main_window_visible(false);
}

}  // namespace tolvane
