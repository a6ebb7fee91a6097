// Helpers for tests that drive windows of their own process.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <vector>

#include "app/control_table.h"

namespace tolvane::testing {

// Handles messages, as the program's loop does, until `done` holds or the
// time is up; returns whether it holds.
bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 5000);
void pump_for(DWORD milliseconds);

// The program's main window, built in this process by the program's own
// code (its start-up sequence included); destroyed at the end of the scope.
class ScopedMainWindow {
  public:
    ScopedMainWindow();
    ScopedMainWindow(const ScopedMainWindow&) = delete;
    ScopedMainWindow& operator=(const ScopedMainWindow&) = delete;
    ~ScopedMainWindow();

    HWND window() const { return window_; }
    HWND control(Control c) const;
    bool built() const { return window_ != nullptr; }

  private:
    HWND window_ = nullptr;
};

// Keys through SendInput, as a user types them: modifiers down, the key
// down and up, modifiers up. The messages still need pumping.
void press_key(WORD virtual_key, std::initializer_list<WORD> modifiers = {});

// Mouse input through SendInput, in screen coordinates.
void move_mouse_to(int x, int y);
void mouse_button(bool left, bool down);
// The screen point of a point in a window's client area.
POINT client_to_screen(HWND window, int x, int y);

// A copy of what the screen shows of a window's client area, taken at once.
class ClientSnapshot {
  public:
    explicit ClientSnapshot(HWND window);
    int width() const { return width_; }
    int height() const { return height_; }
    // Client coordinates; CLR_INVALID outside.
    COLORREF pixel(int x, int y) const;
    bool has_colour(const RECT& area, COLORREF colour) const;
    int count_colour(const RECT& area, COLORREF colour) const;
    // Pixels within `tolerance` of the colour in every channel (text is
    // drawn anti-aliased, so few of its pixels are exactly its colour).
    int count_near(const RECT& area, COLORREF colour, int tolerance) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

// The size of an icon's picture; 0 × 0 for no icon.
SIZE icon_size(HICON icon);

// Brings a window of this process to the foreground, with the focus.
void make_foreground(HWND window);

}  // namespace tolvane::testing
