#include "app/label.h"

#include <algorithm>
#include <cstring>

#include "app/control_access.h"
#include "app/event_table.h"
#include "app/main_window.h"
#include "app/text.h"
#include "app/win_handle.h"
#include "dialup/dial_manager.h"

namespace tolvane {
namespace {

void paint_label(HWND label) {
    PaintScope paint(label);
    RECT clip;
    if (GetClipBox(paint.dc(), &clip) == NULLREGION || IsRectEmpty(&clip))
        return;
    FillRect(paint.dc(), &paint.area(), GetSysColorBrush(COLOR_BTNFACE));

    // The window text itself, so a text set with SetWindowTextA alone (as
    // the dial notifier does from another thread) shows like any other.
    // The program's label texts are short; a longer one is read whole
    // rather than cut.
    char short_text[256] = {};
    Text long_text;
    char* text = short_text;
    int capacity = sizeof short_text;
    const int length = GetWindowTextLengthA(label);
    if (length <= 0)
        return;
    if (length >= capacity) {
        long_text = Text::with_length(static_cast<std::size_t>(length));
        text = long_text.data();
        capacity = length + 1;
    }
    const int got = GetWindowTextA(label, text, capacity);
    if (got <= 0)
        return;
    // Up to the terminator: the count is not trusted past what was written.
    const int shown =
        static_cast<int>(strnlen(text, static_cast<std::size_t>(std::min(got, capacity - 1))));

    ScopedSelect font(paint.dc(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), static_cast<COLORREF>(GetWindowLongA(label, 0)));
    RECT client;
    GetClientRect(label, &client);
    DrawTextA(paint.dc(), text, shown, &client, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
}

LRESULT CALLBACK label_procedure(HWND label, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the background
        case WM_PAINT:
            paint_label(label);
            return 0;
        case WM_SETTEXT:
            // Only the dial notifier writes texts from another thread; one
            // that was already under way when its dial was released must
            // not overwrite what the program wrote since.
            if (InSendMessage() && !is_current_dial_status_window(label))
                return FALSE;
            return DefWindowProcA(label, message, wparam, lparam);
        case kHotKeyNotificationMessage:
            if (auto control = control_for_window(label)) {
                raise_label_notification(*control, static_cast<int>(wparam),
                                         static_cast<int>(lparam));
            }
            return 0;
        default:
            return DefWindowProcA(label, message, wparam, lparam);
    }
}

}  // namespace

bool register_label_class(HINSTANCE instance) {
    WNDCLASSEXA cls = {};
    if (GetClassInfoExA(instance, kLabelClassName, &cls))
        return true;
    cls.cbSize = sizeof cls;
    cls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = label_procedure;
    cls.cbWndExtra = sizeof(LONG);
    cls.hInstance = instance;
    cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cls.lpszClassName = kLabelClassName;
    return RegisterClassExA(&cls) != 0;
}

void set_label_text_colour(HWND label, COLORREF colour) {
    SetWindowLongA(label, 0, static_cast<LONG>(colour));
}

}  // namespace tolvane
