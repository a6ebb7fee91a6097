#include "tests/support/gui.h"

#include "app/control_access.h"
#include "app/main_window.h"

namespace tolvane::testing {

bool pump_until(const std::function<bool()>& done, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                continue;  // a destroyed main window posts it
            dispatch_message(message);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= timeout_ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pump_for(DWORD milliseconds) {
    pump_until([] { return false; }, milliseconds);
}

ScopedMainWindow::ScopedMainWindow() {
    if (build_main_window(GetModuleHandleA(nullptr)) == BuildResult::shown) {
        window_ = control_window_handle(Control::main_window);
        pump_for(50);
    }
}

ScopedMainWindow::~ScopedMainWindow() {
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
    pump_for(20);
}

HWND ScopedMainWindow::control(Control c) const {
    return control_window_handle(c);
}

namespace {

INPUT key_input(WORD vk, bool down) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return in;
}

}  // namespace

void press_key(WORD virtual_key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(key_input(m, true));
    inputs.push_back(key_input(virtual_key, true));
    inputs.push_back(key_input(virtual_key, false));
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
        inputs.push_back(key_input(*it, false));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void move_mouse_to(int x, int y) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void mouse_button(bool left, bool down) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    if (left) {
        in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    } else {
        in.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    }
    SendInput(1, &in, sizeof in);
}

POINT client_to_screen(HWND window, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(window, &p);
    return p;
}

ClientSnapshot::ClientSnapshot(HWND window) {
    RECT client;
    if (!GetClientRect(window, &client))
        return;
    width_ = client.right;
    height_ = client.bottom;
    if (width_ <= 0 || height_ <= 0)
        return;
    const POINT origin = client_to_screen(window, 0, 0);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    pixels_.resize(static_cast<std::size_t>(width_) * height_);
    const auto* bgra = static_cast<const unsigned char*>(bits);
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        pixels_[i] = RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

COLORREF ClientSnapshot::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

int ClientSnapshot::count_colour(const RECT& area, COLORREF colour) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (pixel(x, y) == colour)
                ++n;
        }
    }
    return n;
}

int ClientSnapshot::count_near(const RECT& area, COLORREF colour, int tolerance) const {
    auto close_to = [&](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF p = pixel(x, y);
            if (p != CLR_INVALID && close_to(GetRValue(p), GetRValue(colour)) &&
                close_to(GetGValue(p), GetGValue(colour)) &&
                close_to(GetBValue(p), GetBValue(colour))) {
                ++n;
            }
        }
    }
    return n;
}

bool ClientSnapshot::has_colour(const RECT& area, COLORREF colour) const {
    return count_colour(area, colour) > 0;
}

SIZE icon_size(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return {0, 0};
    BITMAP bm = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return {bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
}

void make_foreground(HWND window) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    pump_until([&] { return GetForegroundWindow() == window; }, 2000);
}

}  // namespace tolvane::testing
