#include "style/skin_control.h"

#include <algorithm>
#include <memory>
#include <string_view>

#include "app/growable_array.h"
#include "app/win_handle.h"
#include "style/control_kind.h"
#include "style/skin_gdi.h"
#include "style/skin_paint.h"
#include "style/skin_testing.h"
#include "style/skinned_control.h"

namespace tolvane {
namespace {

// The skin's process-wide state. Only the user-interface thread touches
// it: the skin takes only controls of that thread, and their procedures
// run there.
struct SkinRegistry {
    int scheme = 0;
    GrowableArray<std::unique_ptr<SkinnedControl>> controls;
    QuietCallObserver observer = nullptr;
};
SkinRegistry g_skin;

LRESULT CALLBACK skin_procedure_ansi(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK skin_procedure_wide(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

WNDPROC skin_procedure_for(bool unicode) {
    return unicode ? skin_procedure_wide : skin_procedure_ansi;
}

WNDPROC current_procedure(HWND window, bool unicode) {
    return reinterpret_cast<WNDPROC>(unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                             : GetWindowLongPtrA(window, GWLP_WNDPROC));
}

SkinnedControl* find_control(HWND window) {
    for (auto& c : g_skin.controls) {
        if (c->window == window)
            return c.get();
    }
    return nullptr;
}

void forget_control(HWND window) {
    g_skin.controls.erase_if([window](const auto& c) { return c->window == window; });
}

// Puts the control's own procedure back, which is possible only while the
// skin's is the one on top.
bool restore_procedure(const SkinnedControl& c) {
    if (current_procedure(c.window, c.unicode) != skin_procedure_for(c.unicode))
        return false;
    const auto original = reinterpret_cast<LONG_PTR>(c.original);
    if (c.unicode) {
        SetWindowLongPtrW(c.window, GWLP_WNDPROC, original);
    } else {
        SetWindowLongPtrA(c.window, GWLP_WNDPROC, original);
    }
    return true;
}

// A class name has at most 256 characters.
struct ClassName {
    char text[257] = {};
    std::size_t length = 0;
    std::string_view view() const { return {text, length}; }
};

ClassName class_name_of(HWND window) {
    ClassName name;
    const int length = window ? GetClassNameA(window, name.text, sizeof name.text) : 0;
    name.length = length > 0 ? static_cast<std::size_t>(length) : 0;
    return name;
}

std::optional<SkinKind> kind_of(HWND window, DWORD style, HWND parent) {
    const auto parent_style = parent ? static_cast<DWORD>(GetWindowLongA(parent, GWL_STYLE)) : 0;
    return skin_kind_for(class_name_of(window).view(), style, class_name_of(parent).view(),
                         parent_style);
}

// BM_GETCHECK's answer as 0 unticked, 1 ticked, 2 indeterminate.
int check_state(LRESULT reply) {
    if (reply & BST_INDETERMINATE)
        return 2;
    return (reply & BST_CHECKED) ? 1 : 0;
}

void read_style_states(SkinnedControl& c, DWORD style) {
    c.look.disabled = (style & WS_DISABLED) != 0;
    c.look.is_default =
        c.kind == SkinKind::push_button && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    c.read_only = c.kind == SkinKind::edit_box && (style & ES_READONLY) != 0;
}

// The states of a control that exists already, from the control itself.
void read_live_states(SkinnedControl& c) {
    read_style_states(c, static_cast<DWORD>(GetWindowLongA(c.window, GWL_STYLE)));
    c.look.focused = GetFocus() == c.window;
    c.look.hot = false;  // from the next mouse move on
    if (paints_whole_button(c.kind)) {
        c.look.check = check_state(call_original(c, BM_GETCHECK, 0, 0));
        c.look.pressed = (call_original(c, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    }
}

void repaint_now(const SkinnedControl& c) {
    if (!c.active || !IsWindowVisible(c.window))
        return;
    switch (c.kind) {
        case SkinKind::push_button:
        case SkinKind::check_box:
        case SkinKind::radio_button:
        case SkinKind::group_box:
            paint_button_now(c, g_skin.scheme);
            break;
        case SkinKind::edit_box:
        case SkinKind::combo_list:
            paint_nonclient_frame(c, g_skin.scheme, nullptr);
            break;
        case SkinKind::combo_box:
        case SkinKind::up_down:
            RedrawWindow(c.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            break;
    }
}

void redraw_in_own_look(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_NOCHILDREN);
}

// Lets one control go: its own procedure back if possible, else the
// skin's stays in place but only passes messages on.
void release_control(HWND window) {
    SkinnedControl* c = find_control(window);
    if (c == nullptr)
        return;
    if (restore_procedure(*c)) {
        forget_control(window);
    } else {
        c->active = false;
    }
}

// A style change may turn a control into a kind the skin does not take.
void restyle(SkinnedControl& c) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(c.window, GWL_STYLE));
    const auto kind = kind_of(c.window, style, GetParent(c.window));
    if (!kind) {
        const HWND window = c.window;
        release_control(window);
        redraw_in_own_look(window);
        return;
    }
    c.kind = *kind;
    read_style_states(c, style);
}

// The state change a message made, once the control has handled it.
void follow_message(SkinnedControl& c, UINT message, WPARAM wparam, LRESULT result) {
    switch (message) {
        case BM_SETSTATE:
            c.look.pressed = wparam != 0;
            break;
        case BM_SETCHECK:
            // The control settles values it does not support (2 on a
            // two-state box).
            c.look.check = check_state(call_original(c, BM_GETCHECK, 0, 0));
            break;
        case WM_SETFOCUS:
            c.look.focused = true;
            break;
        case WM_KILLFOCUS:
            c.look.focused = false;
            break;
        case WM_ENABLE:
            c.look.disabled = wparam == 0;
            break;
        case EM_SETREADONLY:
            if (result)
                c.read_only = wparam != 0;
            break;
        case BM_SETSTYLE:
        case WM_STYLECHANGED:
            restyle(c);
            break;
        default:
            break;
    }
}

void track_mouse_leave(HWND window) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    track.dwHoverTime = HOVER_DEFAULT;
    // comctl32's _TrackMouseEvent only forwards to this; calling it directly
    // spares the program loading comctl32 at every start.
    TrackMouseEvent(&track);
}

// Hot from the first move without a mouse button held; while the control
// has the capture, moves outside it end the hot state too.
void follow_mouse(SkinnedControl& c, WPARAM keys, LPARAM position) {
    constexpr WPARAM kButtons = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2;
    const POINT point = {static_cast<short>(LOWORD(position)),
                         static_cast<short>(HIWORD(position))};
    RECT client;
    GetClientRect(c.window, &client);
    const bool inside = PtInRect(&client, point) != 0;
    if (!c.look.hot) {
        if (inside && (keys & kButtons) == 0) {
            c.look.hot = true;
            track_mouse_leave(c.window);
            repaint_now(c);
        }
    } else if (!inside) {
        c.look.hot = false;
        repaint_now(c);
    }
}

// After a release outside the control no leave may follow.
void settle_hot_state(SkinnedControl& c) {
    if (!c.look.hot)
        return;
    POINT cursor;
    if (GetCursorPos(&cursor) && WindowFromPoint(cursor) != c.window)
        c.look.hot = false;
}

// The control's own handling of a message on which it draws itself: its
// drawing is kept off the screen (WM_SETREDRAW hides the control from
// drawing for the call, documented behaviour on which the button class's
// direct painting stops), then the skin follows the state and draws.
// Nested calls, such as the focus change inside a click, leave the drawing
// to the outermost one.
LRESULT call_quietly(SkinnedControl& c, UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = c.window;
    const bool outermost = c.quiet_depth == 0;
    // Not when hidden already, for example by the program's own
    // WM_SETREDRAW, which stays in force.
    const bool hide = outermost && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    // Hiding may validate the control; a paint it is owed must still come,
    // after its parent's (which may paint over it), so it is given back.
    SkinRegion owed(hide && GetUpdateRect(window, nullptr, FALSE) ? CreateRectRgn(0, 0, 0, 0)
                                                                  : nullptr);
    if (owed)
        GetUpdateRgn(window, owed.get(), FALSE);
    if (hide)
        DefWindowProcA(window, WM_SETREDRAW, FALSE, 0);
    ++c.quiet_depth;
    const LRESULT result = call_original(c, message, wparam, lparam);
    // The control may have gone, or left the skin, meanwhile.
    SkinnedControl* after = find_control(window);
    if (after)
        --after->quiet_depth;
    if (hide && IsWindow(window)) {
        DefWindowProcA(window, WM_SETREDRAW, TRUE, 0);
        if (owed)
            InvalidateRgn(window, owed.get(), FALSE);
    }
    if (after == nullptr)
        return result;
    follow_message(*after, message, wparam, result);
    after = find_control(window);
    if (after == nullptr || !after->active) {
        if (hide && IsWindow(window))
            redraw_in_own_look(window);
        return result;
    }
    if (outermost) {
        if (g_skin.observer)
            g_skin.observer(window, message);
        if ((after = find_control(window)) != nullptr)
            repaint_now(*after);
    }
    return result;
}

// Input whose state changes arrive as the messages above; the control is
// drawn again afterwards in case it drew anything itself.
LRESULT call_and_repaint(SkinnedControl& c, UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = c.window;
    const LRESULT result = call_original(c, message, wparam, lparam);
    if (SkinnedControl* after = find_control(window); after && after->active) {
        settle_hot_state(*after);
        repaint_now(*after);
    }
    return result;
}

LRESULT button_message(SkinnedControl& c, UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = c.window;
    switch (message) {
        case WM_PAINT: {
            PaintScope paint(window);
            paint_button_control(c, g_skin.scheme, paint.dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            paint_button_control(c, g_skin.scheme, reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers everything
        case WM_MOUSEMOVE: {
            const LRESULT result = call_original(c, message, wparam, lparam);
            if (SkinnedControl* after = find_control(window); after && after->active)
                follow_mouse(*after, wparam, lparam);
            return result;
        }
        case WM_MOUSELEAVE: {
            const LRESULT result = call_original(c, message, wparam, lparam);
            if (SkinnedControl* after = find_control(window);
                after && after->active && after->look.hot) {
                after->look.hot = false;
                repaint_now(*after);
            }
            return result;
        }
        case BM_SETSTATE:
        case BM_SETCHECK:
        case BM_SETSTYLE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SETTEXT:
        case WM_SETFONT:
        case WM_UPDATEUISTATE:
        case WM_SYSCOLORCHANGE:
        case WM_STYLECHANGED:
            return call_quietly(c, message, wparam, lparam);
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (wparam != VK_SPACE)
                return call_original(c, message, wparam, lparam);
            return call_and_repaint(c, message, wparam, lparam);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
        case BM_CLICK:
            return call_and_repaint(c, message, wparam, lparam);
        default:
            return call_original(c, message, wparam, lparam);
    }
}

// Edit boxes and combo lists: only the frame in the non-client area.
LRESULT frame_message(SkinnedControl& c, UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = c.window;
    switch (message) {
        case WM_NCPAINT: {
            const int thickness = nonclient_frame_thickness(window);
            if (thickness <= 0)
                return call_original(c, message, wparam, lparam);
            const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
            if (style & (WS_HSCROLL | WS_VSCROLL))
                paint_nonclient_inside(c, thickness, wparam);
            if (SkinnedControl* after = find_control(window); after && after->active)
                paint_nonclient_frame(*after, g_skin.scheme, nullptr);
            return 0;
        }
        case WM_PRINT: {
            const LRESULT result = call_original(c, message, wparam, lparam);
            if ((lparam & PRF_NONCLIENT) && wparam) {
                if (SkinnedControl* after = find_control(window); after && after->active)
                    paint_nonclient_frame(*after, g_skin.scheme, reinterpret_cast<HDC>(wparam));
            }
            return result;
        }
        case WM_ENABLE:
        case EM_SETREADONLY:
        case WM_STYLECHANGED: {
            const LRESULT result = call_original(c, message, wparam, lparam);
            if (SkinnedControl* after = find_control(window)) {
                follow_message(*after, message, wparam, result);
                if ((after = find_control(window)) != nullptr)
                    repaint_now(*after);
            }
            return result;
        }
        default:
            return call_original(c, message, wparam, lparam);
    }
}

// Combo boxes and up-down controls: their own drawing under the skin's
// frame, composed off screen.
LRESULT composed_message(SkinnedControl& c, UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND window = c.window;
    switch (message) {
        case WM_PAINT: {
            PaintScope paint(window);
            paint_composed_control(c, g_skin.scheme, paint.dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            paint_composed_control(c, g_skin.scheme, reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_ENABLE:
        case WM_STYLECHANGED: {
            const LRESULT result = call_original(c, message, wparam, lparam);
            if (SkinnedControl* after = find_control(window)) {
                follow_message(*after, message, wparam, result);
                InvalidateRect(window, nullptr, FALSE);
            }
            return result;
        }
        default:
            return call_original(c, message, wparam, lparam);
    }
}

LRESULT skin_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, bool unicode) {
    SkinnedControl* c = find_control(window);
    if (c == nullptr) {
        // Not reached: the procedure is only installed with a record.
        return unicode ? DefWindowProcW(window, message, wparam, lparam)
                       : DefWindowProcA(window, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        // The control leaves the skin at its destruction.
        const SkinnedControl last = *c;
        restore_procedure(last);
        forget_control(window);
        return call_original(last, message, wparam, lparam);
    }
    if (!c->active)
        return call_original(*c, message, wparam, lparam);
    switch (c->kind) {
        case SkinKind::push_button:
        case SkinKind::check_box:
        case SkinKind::radio_button:
        case SkinKind::group_box:
            return button_message(*c, message, wparam, lparam);
        case SkinKind::edit_box:
        case SkinKind::combo_list:
            return frame_message(*c, message, wparam, lparam);
        case SkinKind::combo_box:
        case SkinKind::up_down:
        default:
            return composed_message(*c, message, wparam, lparam);
    }
}

LRESULT CALLBACK skin_procedure_ansi(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return skin_message(window, message, wparam, lparam, false);
}

LRESULT CALLBACK skin_procedure_wide(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return skin_message(window, message, wparam, lparam, true);
}

}  // namespace

void set_skin_scheme(int scheme) {
    g_skin.scheme = scheme;
}

int skin_scheme() {
    return g_skin.scheme;
}

bool offer_window(HWND window, const CREATESTRUCTA* being_created) {
    if (window == nullptr || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return false;
    if (SkinnedControl* known = find_control(window)) {
        if (!known->active) {
            // Its procedure never left: the skin takes it up again.
            known->active = true;
            read_live_states(*known);
        }
        return true;
    }
    const DWORD style = being_created ? static_cast<DWORD>(being_created->style)
                                      : static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const HWND parent = being_created ? being_created->hwndParent : GetParent(window);
    const auto kind = kind_of(window, style, parent);
    if (!kind)
        return false;

    auto control = std::make_unique<SkinnedControl>();
    control->window = window;
    control->kind = *kind;
    // A wide window keeps receiving wide messages, an ANSI one its bytes.
    control->unicode = IsWindowUnicode(window) != 0;
    const auto ours = reinterpret_cast<LONG_PTR>(skin_procedure_for(control->unicode));
    const LONG_PTR previous = control->unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, ours)
                                               : SetWindowLongPtrA(window, GWLP_WNDPROC, ours);
    if (previous == 0)
        return false;
    control->original = reinterpret_cast<WNDPROC>(previous);
    if (being_created) {
        read_style_states(*control, style);
    } else {
        read_live_states(*control);
    }
    g_skin.controls.push_back(std::move(control));
    return true;
}

void redraw_control(HWND window) {
    redraw_in_own_look(window);
}

void release_all_controls() {
    GrowableArray<HWND> windows;
    windows.reserve(g_skin.controls.size());
    for (const auto& c : g_skin.controls) {
        if (c->active)
            windows.push_back(c->window);
    }
    for (HWND window : windows)
        release_control(window);
    for (HWND window : windows) {
        if (IsWindow(window))
            redraw_in_own_look(window);
    }
}

std::size_t skinned_control_count() {
    return static_cast<std::size_t>(std::count_if(g_skin.controls.begin(), g_skin.controls.end(),
                                                  [](const auto& c) { return c->active; }));
}

bool is_control_skinned(HWND window) {
    const SkinnedControl* c = find_control(window);
    return c != nullptr && c->active;
}

void set_quiet_call_observer(QuietCallObserver observer) {
    g_skin.observer = observer;
}

}  // namespace tolvane
