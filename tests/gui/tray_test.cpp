// The tray icon, its menu and the hiding of the main window, on the real
// main window in process. Shell_NotifyIconA is reached through a stand-in
// of the program's notify_icon that records each call before passing it on.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "shell/notify_icon.h"
#include "shell/tray_icon.h"
#include "shell/window_display.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAA record;
    bool window_visible;  // at the time of the call
    bool window_exists;
    BOOL result;
};

std::vector<NotifyCall> g_calls;
// False: the shell refuses every call, as one that is still starting.
bool g_shell_ready = true;
// True: the shell adds the icon but reports failure, as one that timed out.
bool g_shell_slow = false;

}  // namespace

// Takes the place of the program's own (shell/notify_icon.cpp) in this test
// program.
BOOL notify_icon(DWORD message, NOTIFYICONDATAA& record) {
    BOOL result =
        g_shell_ready && Shell_NotifyIconA(message, reinterpret_cast<::NOTIFYICONDATAA*>(&record));
    if (g_shell_slow && message == NIM_ADD)
        result = FALSE;
    g_calls.push_back(
        {message, record, IsWindowVisible(record.hWnd) != 0, IsWindow(record.hWnd) != 0, result});
    return result;
}

namespace {

using testing::pump_for;
using testing::pump_until;
using testing::ScopedMainWindow;

using Bytes = std::vector<unsigned char>;

bool icon_destroyed(HICON icon) {
    return testing::icon_size(icon).cx == 0;
}

std::string tip_of(const NOTIFYICONDATAA& record) {
    return std::string(record.szTip, strnlen(record.szTip, sizeof record.szTip));
}

// A two-entry icon group: first a 16-pixel entry with 16 colours whose
// image no creation function accepts (RT_ICON 901 of this program, a 16-bit
// header with no pixels after it), then a 32-pixel one naming the program's
// own 32 x 32 image.
constexpr unsigned kBrokenImageId = 901;

Bytes icon_with_a_broken_sixteen() {
    const ByteBlock own = program_tray_icon_block();
    const unsigned char* entry32 = own.data + 6 + 3 * 14;

    Bytes b(6 + 2 * 14, 0);
    b[2] = 1;
    b[4] = 2;
    auto put_entry = [&](std::size_t at, unsigned char width, unsigned id) {
        b[at] = b[at + 1] = width;
        b[at + 2] = 16;
        b[at + 4] = 1;
        b[at + 6] = 32;
        b[at + 12] = static_cast<unsigned char>(id);
        b[at + 13] = static_cast<unsigned char>(id >> 8);
    };
    put_entry(6, 16, kBrokenImageId);
    put_entry(20, 32, entry32[12] | (entry32[13] << 8));
    return b;
}

BOOL CALLBACK match_menu_window(HWND window, LPARAM param) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

// The menu window of this thread while a menu is up.
HWND find_menu_window() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), match_menu_window, reinterpret_cast<LPARAM>(&found));
    return found;
}

enum class MenuAction { close, choose_first };

// What a timer saw of the menu while it was up; the timer runs inside the
// menu's own loop.
struct MenuSeen {
    bool seen = false;
    HMENU menu = nullptr;
    std::vector<std::string> texts;
    std::vector<UINT> commands;
    RECT place = {};
    HWND foreground = nullptr;
};

MenuSeen g_menu_seen;
MenuAction g_menu_action = MenuAction::close;

void CALLBACK inspect_menu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu_window = find_menu_window();
    if (menu_window == nullptr)
        return;
    KillTimer(nullptr, timer);
    MenuSeen& seen = g_menu_seen;
    seen.seen = true;
    seen.menu = reinterpret_cast<HMENU>(SendMessageA(menu_window, MN_GETHMENU, 0, 0));
    const int count = GetMenuItemCount(seen.menu);
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        GetMenuStringA(seen.menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        seen.texts.push_back(text);
        seen.commands.push_back(GetMenuItemID(seen.menu, i));
    }
    GetWindowRect(menu_window, &seen.place);
    seen.foreground = GetForegroundWindow();
    if (g_menu_action == MenuAction::close) {
        EndMenu();
    } else {
        PostMessageA(menu_window, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu_window, WM_KEYDOWN, VK_RETURN, 0);
    }
}

class TrayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::remove_settings_file();
        g_calls.clear();
        main_.emplace();
        ASSERT_TRUE(main_->built());
        window_ = main_->window();
    }
    void TearDown() override {
        main_.reset();
        g_shell_ready = true;
        g_shell_slow = false;
    }

    // As the shell sends it: the icon's identifier and the mouse message.
    void tray(UINT mouse_message) {
        PostMessageA(window_, kTrayCallbackMessage, kTrayIconId, mouse_message);
        pump_for(100);
    }
    void command(int identifier) {
        PostMessageA(window_, WM_COMMAND, static_cast<WPARAM>(identifier), 0);
        pump_for(100);
    }
    RECT place() const {
        RECT r = {};
        GetWindowRect(window_, &r);
        return r;
    }
    void move_away() {
        SetWindowPos(window_, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pump_for(20);
        ASSERT_EQ(place().left, 10);
    }
    bool centred() const {
        const RECT r = place();
        return r.left == (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2 &&
               r.top == (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    }
    bool shown() const { return IsWindowVisible(window_) && !IsIconic(window_); }
    // Minimised but still on the task bar.
    bool on_task_bar_minimised() const {
        return IsWindowVisible(window_) && IsIconic(window_) &&
               (GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0;
    }
    void minimise() {
        SendMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        pump_for(100);
    }
    // Whether the retry timer was running; it is not afterwards.
    bool kill_retry_timer() { return KillTimer(window_, kTrayRetryTimer) != 0; }
    // As a restarted shell: its new notification area holds no icons, and
    // it tells every top-level window.
    void restart_shell() {
        ::NOTIFYICONDATAA record = {};
        record.cbSize = 88;
        record.hWnd = window_;
        record.uID = kTrayIconId;
        Shell_NotifyIconA(NIM_DELETE, &record);
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        pump_for(200);
    }
    // The calls since `from` that put the icon in.
    std::vector<NotifyCall> accepted_adds(std::size_t from = 0) const {
        std::vector<NotifyCall> adds;
        for (std::size_t i = from; i < g_calls.size(); ++i) {
            if (g_calls[i].result && (g_calls[i].message == NIM_ADD))
                adds.push_back(g_calls[i]);
        }
        return adds;
    }
    std::size_t attempts(std::size_t from = 0) const {
        std::size_t n = 0;
        for (std::size_t i = from; i < g_calls.size(); ++i)
            n += g_calls[i].message == NIM_ADD;
        return n;
    }
    void expect_the_programs_icon(const NotifyCall& call) const {
        EXPECT_EQ(call.message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(call.record.cbSize, 88u);
        EXPECT_EQ(call.record.hWnd, window_);
        EXPECT_EQ(call.record.uID, 100u);
        EXPECT_EQ(call.record.uFlags, 7u);
        EXPECT_EQ(call.record.uCallbackMessage, 0x8064u);
        EXPECT_EQ(tip_of(call.record), "Tolvane");
        EXPECT_EQ(call.record.hIcon, g_calls[0].record.hIcon);  // the same icon
    }

    // Pops the menu up by the callback message and lets the timer act on it.
    MenuSeen pop_menu(UINT mouse_message, MenuAction action, POINT cursor) {
        SetCursorPos(cursor.x, cursor.y);
        pump_for(20);
        g_menu_seen = MenuSeen{};
        g_menu_action = action;
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, inspect_menu);
        PostMessageA(window_, kTrayCallbackMessage, kTrayIconId, mouse_message);
        pump_until([] { return g_menu_seen.seen && find_menu_window() == nullptr; });
        KillTimer(nullptr, timer);
        pump_for(100);
        return g_menu_seen;
    }

    std::optional<ScopedMainWindow> main_;
    HWND window_ = nullptr;
};

TEST_F(TrayTest, TheIconIsAddedBeforeTheWindowIsShownAndRemovedAsItIsDestroyed) {
    ASSERT_EQ(g_calls.size(), 1u);
    const NotifyCall add = g_calls[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_FALSE(add.window_visible);
    EXPECT_EQ(add.record.cbSize, 88u);
    EXPECT_EQ(add.record.hWnd, window_);
    EXPECT_EQ(add.record.uID, 100u);
    EXPECT_EQ(add.record.uFlags, 7u);
    EXPECT_EQ(add.record.uCallbackMessage, 0x8064u);
    EXPECT_EQ(tip_of(add.record), "Tolvane");
    const SIZE size = testing::icon_size(add.record.hIcon);
    EXPECT_EQ(size.cx, 16);
    EXPECT_EQ(size.cy, 16);

    DestroyWindow(window_);
    ASSERT_EQ(g_calls.size(), 2u);
    const NotifyCall gone = g_calls[1];
    EXPECT_EQ(gone.message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_TRUE(gone.window_exists);  // inside WM_DESTROY
    EXPECT_EQ(gone.record.cbSize, 88u);
    EXPECT_EQ(gone.record.hWnd, window_);
    EXPECT_EQ(gone.record.uID, 100u);
    EXPECT_EQ(gone.record.uFlags, 0u);
    EXPECT_EQ(gone.record.uCallbackMessage, 0u);
    EXPECT_EQ(gone.record.hIcon, nullptr);
    EXPECT_TRUE(icon_destroyed(add.record.hIcon));
}

TEST_F(TrayTest, SettingTheIconAgainChangesOrDeletesItAndNeverLeaksOne) {
    ASSERT_EQ(g_calls.size(), 1u);
    const HICON first = g_calls[0].record.hIcon;

    set_tray_icon(program_tray_icon_block(), "Tolvane");
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(g_calls[1].record.uFlags, 7u);
    EXPECT_EQ(g_calls[1].record.uCallbackMessage, 0x8064u);
    const HICON second = g_calls[1].record.hIcon;
    EXPECT_NE(second, first);
    EXPECT_EQ(testing::icon_size(second).cx, 16);
    EXPECT_TRUE(icon_destroyed(first));

    // The 16-pixel image cannot be made, so the 32-pixel entry is asked for.
    const ByteBlock broken_image = program_icon_image(kBrokenImageId);
    ASSERT_EQ(broken_image.size, 40u);
    const Bytes fallback = icon_with_a_broken_sixteen();
    set_tray_icon({fallback.data(), fallback.size()}, "Tolvane");
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[2].message, static_cast<DWORD>(NIM_MODIFY));
    const HICON third = g_calls[2].record.hIcon;
    EXPECT_EQ(testing::icon_size(third).cx, 32);
    EXPECT_TRUE(icon_destroyed(second));

    // No icon from the block: the one in the notification area goes.
    const Bytes broken(fallback.begin(), fallback.begin() + 6 + 14 + 5);
    set_tray_icon({broken.data(), broken.size()}, "Tolvane");
    ASSERT_EQ(g_calls.size(), 4u);
    EXPECT_EQ(g_calls[3].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(g_calls[3].record.uFlags, 0u);
    EXPECT_EQ(g_calls[3].record.uCallbackMessage, 0u);
    EXPECT_EQ(g_calls[3].record.hIcon, nullptr);
    EXPECT_TRUE(icon_destroyed(third));

    // Without an icon there is nothing to add, change or delete, and
    // minimising leaves the window on the task bar.
    set_tray_icon({broken.data(), broken.size()}, "Tolvane");
    set_tray_icon({nullptr, 0}, "Tolvane");
    EXPECT_FALSE(is_tray_icon_shown());
    EXPECT_FALSE(kill_retry_timer());
    minimise();
    EXPECT_TRUE(on_task_bar_minimised());
    DestroyWindow(window_);
    EXPECT_EQ(g_calls.size(), 4u);
}

TEST_F(TrayTest, LeftButtonUpHidesAShownWindowAndBringsAHiddenOneBackCentred) {
    ASSERT_TRUE(shown());
    move_away();
    tray(WM_LBUTTONUP);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_EQ(place().left, 10);  // hiding moves nothing

    tray(WM_LBUTTONUP);
    EXPECT_TRUE(shown());
    EXPECT_TRUE(centred());

    // Neither the double-click code nor other mouse messages do anything.
    move_away();
    for (UINT other : {UINT{WM_LBUTTONDBLCLK}, UINT{WM_MOUSEMOVE}, UINT{WM_LBUTTONDOWN},
                       UINT{WM_RBUTTONDOWN}, UINT{WM_MBUTTONUP}}) {
        tray(other);
        EXPECT_TRUE(shown()) << other;
        EXPECT_EQ(place().left, 10) << other;
    }
    EXPECT_EQ(find_menu_window(), nullptr);
}

TEST_F(TrayTest, RightButtonUpAndContextMenuPopTheMenuUpLeftOfAndAboveTheCursor) {
    for (UINT message : {UINT{WM_RBUTTONUP}, UINT{WM_CONTEXTMENU}}) {
        SCOPED_TRACE(message);
        const POINT cursor = {600, 450};
        const MenuSeen seen = pop_menu(message, MenuAction::close, cursor);
        ASSERT_TRUE(seen.seen);
        EXPECT_EQ(seen.texts, (std::vector<std::string>{"显示", "隐藏", "关闭"}));
        EXPECT_EQ(seen.commands, (std::vector<UINT>{20001, 20002, 20003}));
        EXPECT_EQ(seen.place.right, cursor.x - 5);
        EXPECT_EQ(seen.place.top, cursor.y - 5);
        EXPECT_EQ(seen.foreground, window_);
        EXPECT_FALSE(IsMenu(seen.menu));  // a fresh menu each time, destroyed after
        // Closed without a choice: nothing happened.
        EXPECT_TRUE(shown());
        EXPECT_TRUE(IsWindow(window_));
    }
}

TEST_F(TrayTest, TheMenuOfAHiddenWindowBringsItBackWithShow) {
    move_away();
    command(20002);
    ASSERT_FALSE(IsWindowVisible(window_));
    const MenuSeen seen = pop_menu(WM_RBUTTONUP, MenuAction::choose_first, {500, 400});
    ASSERT_TRUE(seen.seen);
    // The choice arrives as WM_COMMAND once the menu has closed.
    pump_until([&] { return IsWindowVisible(window_) != 0; }, 2000);
    EXPECT_TRUE(shown());
    EXPECT_TRUE(centred());
}

TEST_F(TrayTest, ShowRecentresAShownWindowAndHideOnAHiddenOneChangesNothing) {
    move_away();
    command(20001);
    EXPECT_TRUE(shown());
    EXPECT_TRUE(centred());

    command(20002);
    EXPECT_FALSE(IsWindowVisible(window_));
    move_away();
    const RECT before = place();
    command(20002);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_FALSE(IsIconic(window_));
    const RECT after = place();
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(TrayTest, MinimisingHidesAndTheTrayBringsTheWindowBackRestored) {
    for (bool by_show_item : {false, true}) {
        SCOPED_TRACE(by_show_item ? "显示" : "left click");
        SendMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        pump_for(100);
        EXPECT_FALSE(IsWindowVisible(window_));
        EXPECT_TRUE(IsIconic(window_));  // minimised while hidden
        EXPECT_EQ(main_window_position(), kPositionMinimised);

        if (by_show_item) {
            command(20001);
        } else {
            tray(WM_LBUTTONUP);
        }
        EXPECT_TRUE(shown());
        EXPECT_TRUE(centred());
    }
}

TEST_F(TrayTest, TaskbarCreatedAddsTheSameIconAgainWhetherTheWindowIsHiddenOrShown) {
    minimise();
    ASSERT_FALSE(IsWindowVisible(window_));
    std::size_t before = g_calls.size();
    restart_shell();
    std::vector<NotifyCall> adds = accepted_adds(before);
    ASSERT_EQ(adds.size(), 1u);
    expect_the_programs_icon(adds[0]);
    EXPECT_FALSE(IsWindowVisible(window_));  // the new icon is the way back
    EXPECT_FALSE(kill_retry_timer());
    tray(WM_LBUTTONUP);
    EXPECT_TRUE(shown());

    // And on every later restart.
    before = g_calls.size();
    restart_shell();
    adds = accepted_adds(before);
    ASSERT_EQ(adds.size(), 1u);
    expect_the_programs_icon(adds[0]);
    EXPECT_TRUE(shown());
}

TEST_F(TrayTest, ARestartedShellThatRefusesTheIconGetsTheHiddenWindowOnTheTaskBar) {
    command(20002);
    ASSERT_FALSE(IsWindowVisible(window_));
    g_shell_ready = false;
    restart_shell();
    EXPECT_TRUE(on_task_bar_minimised());
    EXPECT_FALSE(is_tray_icon_shown());

    // The retries go on until the shell takes the icon, then stop.
    const std::size_t before = g_calls.size();
    g_shell_ready = true;
    EXPECT_TRUE(pump_until([&] { return !accepted_adds(before).empty(); }, 3000));
    EXPECT_TRUE(is_tray_icon_shown());
    EXPECT_FALSE(kill_retry_timer());
    EXPECT_TRUE(on_task_bar_minimised());  // not hidden until minimised again
}

// The shell is not ready when the program starts, as at log-on.
class TrayAtLogOnTest : public TrayTest {
  protected:
    void SetUp() override {
        g_shell_ready = false;
        TrayTest::SetUp();
    }
};

TEST_F(TrayAtLogOnTest, TheIconIsTriedAgainUntilTheShellTakesItAndNoTimerIsLeft) {
    ASSERT_EQ(attempts(), 1u);
    EXPECT_FALSE(g_calls[0].result);
    EXPECT_TRUE(shown());

    // Without the icon, minimising leaves the window on the task bar.
    minimise();
    EXPECT_TRUE(on_task_bar_minimised());
    EXPECT_EQ(main_window_position(), kPositionMinimised);

    // The first retry comes within seconds, and is refused too.
    EXPECT_TRUE(pump_until([&] { return attempts() >= 2; }, 3000));
    EXPECT_FALSE(is_tray_icon_shown());
    g_shell_ready = true;
    EXPECT_TRUE(pump_until([&] { return !accepted_adds().empty(); }, 5000));
    ASSERT_EQ(accepted_adds().size(), 1u);
    expect_the_programs_icon(accepted_adds()[0]);
    const std::size_t calls = g_calls.size();
    pump_for(200);
    EXPECT_EQ(g_calls.size(), calls);  // no further attempts
    EXPECT_FALSE(kill_retry_timer());

    // The icon's arrival leaves the minimised window where it is; the next
    // minimise hides it.
    EXPECT_TRUE(on_task_bar_minimised());
    ShowWindow(window_, SW_RESTORE);
    pump_for(50);
    minimise();
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_TRUE(IsIconic(window_));
}

TEST_F(TrayAtLogOnTest, TaskbarCreatedDuringTheRetriesPutsTheIconInAndStopsThem) {
    ASSERT_FALSE(is_tray_icon_shown());
    g_shell_ready = true;
    restart_shell();
    EXPECT_TRUE(is_tray_icon_shown());
    EXPECT_FALSE(kill_retry_timer());
    ASSERT_EQ(accepted_adds().size(), 1u);
    expect_the_programs_icon(accepted_adds()[0]);
}

// The shell adds the icon but its answer comes too late: the add reads as
// refused, and the icon is there all the same.
class TrayTimedOutTest : public TrayTest {
  protected:
    void SetUp() override {
        g_shell_slow = true;
        TrayTest::SetUp();
    }
};

TEST_F(TrayTimedOutTest, AnIconTheShellTookDespiteAFailedAddCountsAsIn) {
    EXPECT_TRUE(is_tray_icon_shown());
    EXPECT_FALSE(kill_retry_timer());
    minimise();
    EXPECT_FALSE(IsWindowVisible(window_));
}

TEST_F(TrayAtLogOnTest, SpentRetriesLeaveNoTimerAndTheNextTaskbarCreatedTriesAgain) {
    // Each timer message is one attempt; the series ends after a minute's
    // worth of them.
    for (int i = 0; i < 20 && kill_retry_timer(); ++i) {
        PostMessageA(window_, WM_TIMER, kTrayRetryTimer, 0);
        pump_for(20);
    }
    EXPECT_FALSE(kill_retry_timer());
    const std::size_t spent = attempts();
    EXPECT_GE(spent, 3u);
    EXPECT_LE(spent, 10u);
    pump_for(1500);
    EXPECT_EQ(attempts(), spent);
    EXPECT_FALSE(is_tray_icon_shown());

    g_shell_ready = true;
    restart_shell();
    ASSERT_EQ(accepted_adds().size(), 1u);
    expect_the_programs_icon(accepted_adds()[0]);
    EXPECT_FALSE(kill_retry_timer());
}

TEST_F(TrayTest, MovingNeverHides) {
    for (int step = 0; step < 5; ++step) {
        SetWindowPos(window_, nullptr, 30 + 40 * step, 40 + 10 * step, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pump_for(20);
        EXPECT_TRUE(shown()) << step;
    }
    MoveWindow(window_, 5, 5, 327, 194, TRUE);
    pump_for(20);
    EXPECT_TRUE(shown());
    EXPECT_EQ(place().left, 5);
}

TEST_F(TrayTest, ThePositionPropertyReadsTheWindowAndActsOnlyWhileItIsVisible) {
    move_away();
    set_main_window_position(kPositionCentred);
    EXPECT_TRUE(centred());
    EXPECT_EQ(main_window_position(), kPositionNormal);  // never reads back 1

    set_main_window_position(9);  // taken as 3
    EXPECT_TRUE(IsZoomed(window_));
    EXPECT_EQ(main_window_position(), kPositionMaximised);
    set_main_window_position(-5);  // taken as 0
    EXPECT_FALSE(IsZoomed(window_));
    EXPECT_EQ(main_window_position(), kPositionNormal);

    // Minimised through the property, the move event hides it.
    set_main_window_position(kPositionMinimised);
    pump_for(50);
    EXPECT_FALSE(is_main_window_visible());
    EXPECT_EQ(main_window_position(), kPositionMinimised);
    // Hidden, setting the position changes nothing.
    set_main_window_position(kPositionCentred);
    EXPECT_TRUE(IsIconic(window_));
    EXPECT_FALSE(IsWindowVisible(window_));

    set_main_window_visible(true);
    set_main_window_position(kPositionCentred);
    EXPECT_TRUE(shown());
    EXPECT_TRUE(centred());
}

TEST_F(TrayTest, CloseDestroysTheWindowAfterTheCommandAndRemovesTheIcon) {
    SendMessageA(window_, WM_COMMAND, 20003, 0);
    EXPECT_TRUE(IsWindow(window_));  // the destruction is posted
    EXPECT_TRUE(pump_until([&] { return !IsWindow(window_); }, 2000));
    ASSERT_FALSE(g_calls.empty());
    EXPECT_EQ(g_calls.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(g_calls.back().record.hWnd, window_);
}

}  // namespace
}  // namespace tolvane
