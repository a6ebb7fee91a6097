// The one main window: its building, its window procedure and its end.
#pragma once

#include <windows.h>

#include <array>

#include "app/control_table.h"
#include "app/win_handle.h"

namespace tolvane {

inline constexpr char kMainWindowCaption[] = "Tolvane";
inline constexpr UINT kTrayCallbackMessage = WM_APP + 100;        // 0x8064
inline constexpr UINT kPostedDestroyMessage = WM_APP + 101;       // 0x8065
inline constexpr UINT kHotKeyNotificationMessage = WM_APP + 117;  // 0x8075

inline constexpr DWORD kMainWindowStyle =
    WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The main window's own records, alive from its creation to WM_NCDESTROY.
struct MainWindow {
    HWND window = nullptr;
    std::array<HWND, kControlCount> controls{};
    UniqueIcon big_icon;
    UniqueIcon small_icon;
    bool destroy_requested = false;
    HWND remembered_focus = nullptr;
};

// The main window while it exists, else null.
MainWindow* current_main_window() noexcept;

enum class BuildResult {
    shown,   // the window is up and the message loop can run
    gone,    // a handler of the created or moved event destroyed it
    failed,  // the window or one of its controls could not be created
};

// Builds the main window hidden with all its controls, raises its created,
// moved and resized events and shows it.
BuildResult build_main_window(HINSTANCE instance);

// Marks the main window for destruction and posts it 0x8065; returns at once.
void destroy_main_window();

// One message through the window's keyboard handling, then translated and
// dispatched unless the handling took it.
void dispatch_message(const MSG& message);

// The message loop of the user-interface thread, with the window's keyboard
// handling; returns when it takes WM_QUIT.
void run_message_loop();

}  // namespace tolvane
