#include "app/keyboard.h"

#include <optional>

#include "app/control_table.h"
#include "app/main_window.h"

namespace tolvane {
namespace {

bool key_down(int virtual_key) {
    return (GetKeyState(virtual_key) & 0x8000) != 0;
}

bool can_take_focus(HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control) &&
           (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

std::optional<std::size_t> tab_position_of(const MainWindow& main, HWND window) {
    for (std::size_t i = 0; i < kTabOrderLength; ++i) {
        if (main.controls[i] == window)
            return i;
    }
    return std::nullopt;
}

void move_focus(MainWindow& main, bool forward) {
    const auto current = tab_position_of(main, GetFocus());
    const auto next = step_tab_order(kTabOrderLength, current, forward, [&](std::size_t i) {
        return can_take_focus(main.controls[i]);
    });
    if (next)
        SetFocus(main.controls[*next]);
}

}  // namespace

bool apply_keyboard_handling(const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    MainWindow* main = current_main_window();
    if (main == nullptr || message.hwnd == nullptr)
        return false;
    if (message.hwnd != main->window && !IsChild(main->window, message.hwnd))
        return false;

    const bool ctrl = key_down(VK_CONTROL);
    const bool shift = key_down(VK_SHIFT);
    const bool alt = key_down(VK_MENU);
    switch (message.wParam) {
        case VK_ESCAPE:
            if (ctrl || shift || alt)
                return false;
            SendMessageA(main->window, WM_CLOSE, 0, 0);
            return true;
        case VK_TAB:
            if (ctrl || alt)
                return false;
            move_focus(*main, !shift);
            return true;
        default:
            return false;
    }
}

void hand_over_focus() {
    MainWindow* main = current_main_window();
    if (main == nullptr)
        return;
    HWND remembered = main->remembered_focus;
    main->remembered_focus = nullptr;
    if (remembered && IsWindow(remembered) && IsChild(main->window, remembered)) {
        SetFocus(remembered);
        return;
    }
    const auto first = step_tab_order(kTabOrderLength, std::nullopt, true, [&](std::size_t i) {
        return can_take_focus(main->controls[i]);
    });
    if (first)
        SetFocus(main->controls[*first]);
}

void remember_focus() {
    MainWindow* main = current_main_window();
    if (main == nullptr)
        return;
    HWND focused = GetFocus();
    if (focused && IsChild(main->window, focused))
        main->remembered_focus = focused;
}

}  // namespace tolvane
