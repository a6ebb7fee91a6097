#include "app/main_window.h"

#include "app/control_access.h"
#include "app/event_table.h"
#include "app/keyboard.h"
#include "app/label.h"
#include "app/menu_definition.h"
#include "app/window_geometry.h"
#include "shell/tray_icon.h"
#include "shell/tray_notification.h"

namespace tolvane {
namespace {

constexpr char kMainWindowClassName[] = "TolvaneMainWindow";

// Only one main window exists at a time; its records live here from
// WM_NCCREATE to WM_NCDESTROY.
MainWindow g_main_window;
bool g_main_window_alive = false;
// The shell broadcasts it to every top-level window when its notification
// area starts (again); 0 while it is not registered.
UINT g_taskbar_created_message = 0;

void start_records(HWND window) {
    g_main_window = MainWindow{};
    g_main_window.window = window;
    g_main_window_alive = true;
}

void release_records() {
    g_main_window = MainWindow{};  // gives back the icons
    g_main_window_alive = false;
}

void route_command(WPARAM wparam, LPARAM lparam) {
    if (lparam == 0) {
        // Menus send 0 in the high word, accelerators 1; the program has no
        // accelerators, and only the definition's identifiers select items.
        if (HIWORD(wparam) == 0) {
            if (auto item = menu_item_for_command(LOWORD(wparam)))
                raise_menu_selected(*item);
        }
        return;
    }
    if (HIWORD(wparam) != BN_CLICKED)
        return;
    if (auto control = control_for_window(reinterpret_cast<HWND>(lparam))) {
        raise_control_clicked(*control);
    }
}

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE:
            start_records(window);
            break;
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CTLCOLOREDIT: {
            HDC dc = reinterpret_cast<HDC>(wparam);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        case WM_COMMAND:
            route_command(wparam, lparam);
            return 0;
        case kTrayCallbackMessage:
            if (int code = tray_notification_code(static_cast<UINT>(lparam))) {
                raise_tray_notification(code);
            }
            return 0;
        case WM_TIMER:
            raise_timer(wparam);
            return 0;
        case WM_MOVE: {
            const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
            raise_window_moved();
            return result;
        }
        case WM_SETFOCUS: {
            const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
            hand_over_focus();
            return result;
        }
        case WM_ACTIVATE: {
            const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
            if (LOWORD(wparam) == WA_INACTIVE)
                remember_focus();
            return result;
        }
        case kPostedDestroyMessage:
            if (g_main_window_alive && g_main_window.destroy_requested) {
                g_main_window.destroy_requested = false;
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY: {
            const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
            if (HMENU menu = GetMenu(window)) {
                SetMenu(window, nullptr);
                DestroyMenu(menu);
            }
            remove_tray_icon();
            return result;
        }
        case WM_NCDESTROY: {
            const LRESULT result = DefWindowProcA(window, message, wparam, lparam);
            release_records();
            PostQuitMessage(0);
            return result;
        }
        default:
            if (message == g_taskbar_created_message && message != 0) {
                raise_taskbar_created();
                return 0;
            }
            break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// An elevated program does not hear the shell's broadcast unless it lets
// the message through (Vista and later; the functions are looked up so that
// earlier systems start too).
void accept_taskbar_created(HWND window) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (user32 == nullptr)
        return;
    using FilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using Filter = BOOL(WINAPI*)(UINT, DWORD);
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW and MSGFLT_ADD
    if (auto filter_ex = reinterpret_cast<FilterEx>(
            reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")))) {
        filter_ex(window, g_taskbar_created_message, kAllow, nullptr);
    } else if (auto filter = reinterpret_cast<Filter>(
                   reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter")))) {
        filter(g_taskbar_created_message, kAllow);
    }
}

bool register_main_window_class(HINSTANCE instance) {
    WNDCLASSEXA cls = {};
    if (GetClassInfoExA(instance, kMainWindowClassName, &cls))
        return true;
    cls.cbSize = sizeof cls;
    cls.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    cls.lpfnWndProc = main_window_procedure;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cls.lpszClassName = kMainWindowClassName;
    return RegisterClassExA(&cls) != 0;
}

// The menu bar holds the definition's shown top-level items. The program's
// only one is hidden, and an empty menu bar would still take a line of the
// fixed-size window on Windows, so then the window gets no menu bar at all.
HMENU build_menu_bar() {
    bool any_shown = false;
    for (const auto& item : kMenuDefinition) {
        if (item.level == 0 && item.shown)
            any_shown = true;
    }
    if (!any_shown)
        return nullptr;
    HMENU bar = CreateMenu();
    for (std::size_t i = 0; i < kMenuDefinition.size(); ++i) {
        const auto& item = kMenuDefinition[i];
        if (item.level == 0 && item.shown) {
            AppendMenuA(bar, MF_STRING, kFirstMenuCommand + static_cast<UINT>(i), item.text);
        }
    }
    return bar;
}

struct ControlClass {
    const char* class_name;
    DWORD style;
    DWORD ex_style;
};

ControlClass control_class(ControlKind kind) {
    switch (kind) {
        case ControlKind::edit_box:
            return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::masked_edit_box:
            return {"EDIT", ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::button:
            return {"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP,
                    0};
        case ControlKind::check_box:
            return {"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER | WS_TABSTOP,
                    0};
        case ControlKind::label:
        default:
            return {kLabelClassName, 0, 0};
    }
}

bool create_controls(HINSTANCE instance, MainWindow& main) {
    const HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    for (const ControlDefinition& definition : kControlDefinitions) {
        const ControlClass cls = control_class(definition.kind);
        HWND control = CreateWindowExA(
            cls.ex_style, cls.class_name, definition.text, WS_CHILD | WS_CLIPSIBLINGS | cls.style,
            definition.left, definition.top, definition.width, definition.height, main.window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_identifier(definition.control))),
            instance, nullptr);
        if (control == nullptr)
            return false;
        main.controls[control_index(definition.control)] = control;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        switch (definition.kind) {
            case ControlKind::masked_edit_box:
                SendMessageA(control, EM_SETPASSWORDCHAR, '*', 0);
                [[fallthrough]];
            case ControlKind::edit_box:
                SendMessageA(control, EM_LIMITTEXT, 0, 0);
                SendMessageA(control, EM_SETSEL, 0, 0);
                SendMessageA(control, EM_SCROLLCARET, 0, 0);
                break;
            case ControlKind::check_box:
                SendMessageA(control, BM_SETCHECK, BST_UNCHECKED, 0);
                break;
            case ControlKind::label:
                set_label_text_colour(control, definition.control == Control::标签1
                                                   ? kStatusLabelTextColour
                                                   : kLabelTextColour);
                break;
            case ControlKind::button:
                break;
        }
    }
    for (const ControlDefinition& definition : kControlDefinitions) {
        ShowWindow(main.controls[control_index(definition.control)],
                   definition.visible ? SW_SHOWNA : SW_HIDE);
    }
    return true;
}

}  // namespace

MainWindow* current_main_window() noexcept {
    return g_main_window_alive ? &g_main_window : nullptr;
}

BuildResult build_main_window(HINSTANCE instance) {
    if (!register_main_window_class(instance) || !register_label_class(instance)) {
        return BuildResult::failed;
    }

    g_taskbar_created_message = RegisterWindowMessageA("TaskbarCreated");
    const int x = centred_origin(GetSystemMetrics(SM_CXSCREEN), kMainWindowWidth);
    const int y = centred_origin(GetSystemMetrics(SM_CYSCREEN), kMainWindowHeight);
    UniqueMenu menu_bar(build_menu_bar());
    HWND window = CreateWindowExA(0, kMainWindowClassName, kMainWindowCaption, kMainWindowStyle, x,
                                  y, kMainWindowWidth, kMainWindowHeight, nullptr, menu_bar.get(),
                                  instance, nullptr);
    if (window == nullptr)
        return BuildResult::failed;
    menu_bar.release();  // the window owns it now
    if (g_taskbar_created_message != 0)
        accept_taskbar_created(window);

    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != kMainWindowWidth ||
        outer.bottom - outer.top != kMainWindowHeight) {
        MoveWindow(window, outer.left, outer.top, kMainWindowWidth, kMainWindowHeight, TRUE);
    }

    MainWindow& main = g_main_window;
    main.big_icon.reset(static_cast<HICON>(
        LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    main.small_icon.reset(static_cast<HICON>(
        LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(main.big_icon.get()));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(main.small_icon.get()));
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);

    if (!create_controls(instance, main)) {
        DestroyWindow(window);
        return BuildResult::failed;
    }

    raise_window_created();
    if (!IsWindow(window))
        return BuildResult::gone;
    raise_window_moved();
    if (!IsWindow(window))
        return BuildResult::gone;
    // The resized event has no handler.
    ShowWindow(window, SW_SHOW);
    return BuildResult::shown;
}

void destroy_main_window() {
    MainWindow* main = current_main_window();
    if (main == nullptr)
        return;
    main->destroy_requested = true;
    PostMessageA(main->window, kPostedDestroyMessage, 0, 0);
}

void dispatch_message(const MSG& message) {
    if (apply_keyboard_handling(message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void run_message_loop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        dispatch_message(message);
}

}  // namespace tolvane
