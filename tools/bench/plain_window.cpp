// The yardstick for the start-up and memory figures: a plain Win32 program
// that does at start what ADSL.EXE does, with nothing of its own: the same
// 327 x 194 window with the thirteen controls as standard controls and
// DEFAULT_GUI_FONT, COM initialised, F8 registered, a tray icon, the
// connection list read from the dial-up service (loaded from the system
// directory), the focus in the first edit box. Built with the same compiler
// and flags as ADSL.EXE.
#include <windows.h>
#include <ole2.h>
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

constexpr int kHotKeyId = 1;
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

// The number of connections up, by the classic 412-byte RASCONNA records.
// The service stays loaded, as for the dials that would follow.
DWORD count_connections() {
    HMODULE ras = LoadLibraryExA("rasapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (ras == nullptr)
        return 0;
    using Enumerate = DWORD(WINAPI*)(void*, LPDWORD, LPDWORD);
    const auto enumerate = reinterpret_cast<Enumerate>(
        reinterpret_cast<void*>(GetProcAddress(ras, "RasEnumConnectionsA")));
    DWORD count = 0;
    if (enumerate) {
        static unsigned char records[412 * 16];
        records[0] = 412 & 0xFF;  // dwSize of the first record
        records[1] = 412 >> 8;
        DWORD bytes = sizeof records;
        enumerate(records, &bytes, &count);
    }
    return count;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);
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
    HWND first_edit = nullptr;
    for (const Child& c : kChildren) {
        HWND child = CreateWindowExA(c.ex_style, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style,
                                     c.x, c.y, c.w, c.h, window, nullptr, instance, nullptr);
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (first_edit == nullptr)
            first_edit = child;
    }
    RegisterHotKey(window, kHotKeyId, 0, VK_F8);
    g_tray.cbSize = NOTIFYICONDATAA_V1_SIZE;
    g_tray.hWnd = window;
    g_tray.uID = 100;
    g_tray.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    g_tray.uCallbackMessage = WM_APP + 100;
    g_tray.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpynA(g_tray.szTip, "Plain", 64);
    Shell_NotifyIconA(NIM_ADD, &g_tray);
    SetWindowTextA(window, count_connections() ? "Plain: connected" : "Plain");
    ShowWindow(window, SW_SHOW);
    SetFocus(first_edit);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    OleUninitialize();
    return 0;
}
