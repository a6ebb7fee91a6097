// The yardstick for the start-up and memory figures: a plain Win32 program
// with the same window, the same thirteen controls as standard controls and
// a tray icon, built with the same compiler and flags as ADSL.EXE.
#include <windows.h>
#include <shellapi.h>

namespace {

struct Child {
    const char* cls;
    DWORD style;
    DWORD ex_style;
    int x, y, w, h;
    const char* text;
};

const Child kChildren[] = {
    {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 45, 18, 144, 32, ""},
    {"EDIT", ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, WS_EX_CLIENTEDGE, 45, 62, 144, 32, ""},
    {"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0, 208, 17, 96, 32, "连接"},
    {"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0, 208, 53, 96, 32, "挂断"},
    {"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 0, 15, 105, 96, 16, "记住账号密码"},
    {"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0, 208, 126, 96, 32, "打开网页(F8)"},
    {"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 0, 15, 129, 96, 16, "开机自动连接"},
    {"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0, 208, 89, 96, 32, "保存"},
    {"STATIC", 0, 0, 14, 24, 26, 24, "账号"},
    {"STATIC", 0, 0, 13, 66, 27, 24, "密码"},
    {"STATIC", 0, 0, 117, 106, 53, 15, "连接状态"},
    {"STATIC", 0, 0, 117, 128, 87, 18, "连接已断开"},
    {"STATIC", 0, 0, 16, 8, 32, 8, "标签"},
};

NOTIFYICONDATAA g_tray;

LRESULT CALLBACK procedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_DESTROY:
            Shell_NotifyIconA(NIM_DELETE, &g_tray);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(w, m, wp, lp);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSEXA cls = {};
    cls.cbSize = sizeof cls;
    cls.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    cls.lpfnWndProc = procedure;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cls.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    cls.lpszClassName = "PlainBenchWindow";
    RegisterClassExA(&cls);
    HWND window = CreateWindowExA(
        0, cls.lpszClassName, "Plain", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
        (GetSystemMetrics(SM_CXSCREEN) - 327) / 2, (GetSystemMetrics(SM_CYSCREEN) - 194) / 2, 327,
        194, nullptr, nullptr, instance, nullptr);
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    for (const Child& c : kChildren) {
        HWND child = CreateWindowExA(c.ex_style, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style,
                                     c.x, c.y, c.w, c.h, window, nullptr, instance, nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    g_tray.cbSize = NOTIFYICONDATAA_V1_SIZE;
    g_tray.hWnd = window;
    g_tray.uID = 100;
    g_tray.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    g_tray.uCallbackMessage = WM_APP + 100;
    g_tray.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpynA(g_tray.szTip, "Plain", 64);
    Shell_NotifyIconA(NIM_ADD, &g_tray);
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
