// The built ADSL.EXE in a Wine desktop with a task bar and a notification
// area of Wine's own, whose icon is read back from the screen's pixels.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <thread>

#include "tests/support/process.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

constexpr char kDesktop[] = "TolvaneTray";
constexpr char kDesktopsKey[] = "Software\\Wine\\Explorer\\Desktops";
constexpr char kDesktopKey[] = "Software\\Wine\\Explorer\\Desktops\\TolvaneTray";

// A named Wine desktop of this size, with its task bar and tray.
class ShellDesktopSetting {
  public:
    ShellDesktopSetting() {
        HKEY key;
        if (RegCreateKeyA(HKEY_CURRENT_USER, kDesktopsKey, &key) == ERROR_SUCCESS) {
            static const char size[] = "800x600";
            RegSetValueExA(key, kDesktop, 0, REG_SZ, reinterpret_cast<const BYTE*>(size),
                           sizeof size);
            RegCloseKey(key);
        }
        if (RegCreateKeyA(HKEY_CURRENT_USER, kDesktopKey, &key) == ERROR_SUCCESS) {
            const DWORD on = 1;
            RegSetValueExA(key, "EnableShell", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on),
                           sizeof on);
            RegCloseKey(key);
        }
    }
    ~ShellDesktopSetting() {
        RegDeleteKeyA(HKEY_CURRENT_USER, kDesktopKey);
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopsKey, 0, KEY_SET_VALUE, &key) ==
            ERROR_SUCCESS) {
            RegDeleteValueA(key, kDesktop);
            RegCloseKey(key);
        }
    }
    ShellDesktopSetting(const ShellDesktopSetting&) = delete;
    ShellDesktopSetting& operator=(const ShellDesktopSetting&) = delete;
};

template <typename Done>
bool wait_for(Done done, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms)
            return false;
        Sleep(100);
    }
    return true;
}

// Pixels of the tray's right end (where its icons stand) that differ from
// the bar's empty middle.
int tray_icon_pixels(HWND tray) {
    RECT bar;
    if (!GetWindowRect(tray, &bar) || bar.right - bar.left < 100)
        return -1;
    HDC screen = GetDC(nullptr);
    const int middle = (bar.top + bar.bottom) / 2;
    const COLORREF empty = GetPixel(screen, bar.right - 60, middle);
    int differing = 0;
    for (int y = bar.top + 1; y < bar.bottom - 1; ++y) {
        for (int x = bar.right - 30; x < bar.right - 1; ++x)
            differing += GetPixel(screen, x, y) != empty;
    }
    ReleaseDC(nullptr, screen);
    return differing;
}

// What was seen, gathered on a thread of the Wine desktop (a thread with no
// windows of its own can move there) and checked afterwards.
struct Seen {
    bool started = false;
    bool found = false;
    int pixels_at_start = -1;
    bool hidden_by_minimise = false;
    int pixels_after_loss = -1;
    int pixels_after_taskbar_created = -1;
    bool hidden_after_taskbar_created = false;
    int pixels_after_close = -1;
    DWORD exit_code = 99;
};

constexpr int kIconShown = 20;  // a 16 x 16 picture differs in far more

void watch_the_tray(Seen& seen) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.lpDesktop = const_cast<char*>(kDesktop);
    PROCESS_INFORMATION pi = {};
    std::string line = "\"";
    line += testing::build_path("ADSL.EXE");
    line += '"';
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return;
    }
    seen.started = true;
    HDESK desktop = nullptr;
    wait_for([&] { return (desktop = OpenDesktopA(kDesktop, 0, FALSE, GENERIC_ALL)) != nullptr; },
             10000);
    HWND main = nullptr;
    HWND tray = nullptr;
    if (desktop != nullptr && SetThreadDesktop(desktop)) {
        seen.found = wait_for(
            [&] {
                main = FindWindowA("TolvaneMainWindow", nullptr);
                tray = FindWindowA("Shell_TrayWnd", nullptr);
                return main != nullptr && tray != nullptr && IsWindowVisible(main) &&
                       tray_icon_pixels(tray) > kIconShown;
            },
            15000);
    }
    if (seen.found) {
        seen.pixels_at_start = tray_icon_pixels(tray);
        PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        seen.hidden_by_minimise = wait_for([&] { return !IsWindowVisible(main); }, 5000);

        // The tray loses the icon, as a restarted shell's new one has none.
        NOTIFYICONDATAA record = {};
        record.cbSize = NOTIFYICONDATAA_V1_SIZE;
        record.hWnd = main;
        record.uID = 100;
        Shell_NotifyIconA(NIM_DELETE, &record);
        wait_for([&] { return tray_icon_pixels(tray) == 0; }, 5000);
        seen.pixels_after_loss = tray_icon_pixels(tray);

        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        wait_for([&] { return tray_icon_pixels(tray) > kIconShown; }, 5000);
        seen.pixels_after_taskbar_created = tray_icon_pixels(tray);
        seen.hidden_after_taskbar_created = !IsWindowVisible(main);

        PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &seen.exit_code);
        wait_for([&] { return tray_icon_pixels(tray) == 0; }, 5000);
        seen.pixels_after_close = tray_icon_pixels(tray);
    }
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (desktop != nullptr)
        CloseDesktop(desktop);
}

TEST(TrayInWinesShell, TheIconComesBackWhenTheTrayHasLostItAndTaskbarCreatedArrives) {
    testing::remove_settings_file();
    const ShellDesktopSetting setting;
    Seen seen;
    std::thread watcher(watch_the_tray, std::ref(seen));
    watcher.join();

    ASSERT_TRUE(seen.started);
    ASSERT_TRUE(seen.found) << "no main window and tray icon on the Wine desktop";
    EXPECT_GT(seen.pixels_at_start, kIconShown);
    EXPECT_TRUE(seen.hidden_by_minimise);
    EXPECT_EQ(seen.pixels_after_loss, 0);
    EXPECT_GT(seen.pixels_after_taskbar_created, kIconShown);
    EXPECT_TRUE(seen.hidden_after_taskbar_created);
    EXPECT_EQ(seen.exit_code, 0u);
    EXPECT_EQ(seen.pixels_after_close, 0);
}

}  // namespace
}  // namespace tolvane
