#include "app/control_access.h"

#include "app/main_window.h"

namespace tolvane {
namespace {

HWND raw_handle(Control control) {
    const MainWindow* main = current_main_window();
    if (main == nullptr)
        return nullptr;
    if (control == Control::main_window)
        return main->window;
    return main->controls[control_index(control)];
}

}  // namespace

HWND control_window_handle(Control control) {
    HWND window = raw_handle(control);
    return (window && IsWindow(window)) ? window : nullptr;
}

std::optional<Control> control_for_window(HWND window) {
    const MainWindow* main = current_main_window();
    if (main == nullptr || window == nullptr)
        return std::nullopt;
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (main->controls[i] == window)
            return kControlDefinitions[i].control;
    }
    return std::nullopt;
}

Text get_control_text(Control control) {
    HWND window = control_window_handle(control);
    if (window == nullptr)
        return Text();
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return Text();
    Text text = Text::with_length(static_cast<std::size_t>(length));
    if (GetWindowTextA(window, text.data(), length + 1) <= 0)
        return Text();
    return text;
}

void set_control_text(Control control, const char* text) {
    HWND window = control_window_handle(control);
    if (window == nullptr)
        return;
    SetWindowTextA(window, text ? text : "");
    if (control != Control::main_window && control_definition(control).kind == ControlKind::label) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

void set_control_disabled(Control control, bool disabled) {
    if (HWND window = control_window_handle(control))
        EnableWindow(window, disabled ? FALSE : TRUE);
}

bool is_control_checked(Control control) {
    HWND window = control_window_handle(control);
    return window && SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void set_control_checked(Control control, bool checked) {
    if (HWND window = control_window_handle(control)) {
        SendMessageA(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

}  // namespace tolvane
