// The F8 hot key and the web-page button. The shell's handler for http
// addresses is pointed at a recorder of the tests' own, which notes each
// address it is asked to open.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/control_table.h"
#include "app/main_window.h"
#include "shell/hot_key.h"
#include "shell/web_page.h"
#include "tests/support/gui.h"
#include "tests/support/process.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

using testing::build_path;
using testing::ChildProcess;
using testing::pump_for;
using testing::pump_until;

constexpr char kHandlerKey[] = "http\\shell\\open\\command";
constexpr DWORD kPageTimeoutMs = 15000;
// How long to wait for a page that must not open.
constexpr DWORD kSettleMs = 1500;

std::string log_path() {
    return build_path("tests\\opened_pages.log");
}

std::vector<std::string> opened_pages() {
    std::vector<std::string> pages;
    std::ifstream in(log_path(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        pages.push_back(line);
    }
    return pages;
}

// Waits (handling this thread's messages) until `count` pages have been
// opened, then a little longer for any that should not have been.
std::vector<std::string> pages_after(std::size_t count) {
    pump_until([&] { return opened_pages().size() >= count; }, kPageTimeoutMs);
    pump_for(kSettleMs);
    return opened_pages();
}

std::vector<std::string> times(std::size_t n) {
    return std::vector<std::string>(n, kWebPageAddress);
}

// The shell's command for http addresses, replaced for the whole program.
class RecorderAsBrowser {
  public:
    RecorderAsBrowser() {
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kHandlerKey, 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        char old[1024] = {};
        DWORD size = sizeof old - 1;
        if (RegQueryValueExA(key_, nullptr, nullptr, &old_type_, reinterpret_cast<BYTE*>(old),
                             &size) == ERROR_SUCCESS) {
            old_ = std::string(old);
        }
        std::string command = "\"";
        command += build_path("tests\\url_recorder.exe");
        command += "\" \"%1\"";
        RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
    }
    ~RecorderAsBrowser() {
        if (key_ == nullptr)
            return;
        if (old_) {
            RegSetValueExA(key_, nullptr, 0, old_type_,
                           reinterpret_cast<const BYTE*>(old_->c_str()),
                           static_cast<DWORD>(old_->size() + 1));
        } else {
            RegDeleteValueA(key_, nullptr);
        }
        RegCloseKey(key_);
    }
    bool installed() const { return key_ != nullptr; }

  private:
    HKEY key_ = nullptr;
    std::optional<std::string> old_;
    DWORD old_type_ = REG_SZ;
};

// A window of the test's own that holds the focus while keys are pressed.
class FocusWindow {
  public:
    FocusWindow() {
        window_ =
            CreateWindowExA(0, "STATIC", "elsewhere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200,
                            100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~FocusWindow() {
        if (window_)
            DestroyWindow(window_);
    }
    // The program activates its window as it shows it, possibly after the
    // first attempt here, so the attempt is repeated until it holds.
    bool take_focus() const {
        for (int attempt = 0; attempt < 20 && !has_focus(); ++attempt) {
            SetForegroundWindow(window_);
            pump_until([&] { return has_focus(); }, 150);
        }
        return has_focus();
    }
    bool has_focus() const { return GetForegroundWindow() == window_; }

  private:
    HWND window_ = nullptr;
};

class HotKeyTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { browser_ = new RecorderAsBrowser(); }
    static void TearDownTestSuite() {
        delete browser_;
        browser_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(browser_->installed());
        testing::remove_settings_file();
        DeleteFileA(log_path().c_str());
    }
    void TearDown() override { DeleteFileA(log_path().c_str()); }

    ChildProcess start_program() {
        ChildProcess p = ChildProcess::start(build_path("ADSL.EXE"));
        EXPECT_TRUE(p.started());
        return p;
    }
    void press_elsewhere(WORD key, std::initializer_list<WORD> modifiers = {}) {
        ASSERT_TRUE(focus_.take_focus());
        testing::press_key(key, modifiers);
    }
    // 按钮1 of a program's window, clicked as the button reports it.
    static void click_page_button(HWND main) {
        HWND button = FindWindowExA(main, nullptr, "Button", "打开网页(F8)");
        ASSERT_NE(button, nullptr);
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(control_identifier(Control::按钮1), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
    static bool wait_for(const std::function<bool()>& done) { return pump_until(done, 3000); }

    static RecorderAsBrowser* browser_;
    FocusWindow focus_;
};

RecorderAsBrowser* HotKeyTest::browser_ = nullptr;

TEST_F(HotKeyTest, F8InAnotherWindowOpensThePageOncePerPressAndWithModifiersNot) {
    ChildProcess program = start_program();
    ASSERT_NE(program.wait_for_main_window(), nullptr);

    press_elsewhere(VK_F8, {VK_MENU});
    press_elsewhere(VK_F8, {VK_SHIFT});
    press_elsewhere(VK_F8, {VK_CONTROL});
    press_elsewhere(VK_F8);
    EXPECT_EQ(pages_after(1), times(1));

    press_elsewhere(VK_F8);
    press_elsewhere(VK_F8);
    EXPECT_EQ(pages_after(3), times(3));
}

TEST_F(HotKeyTest, F8OpensThePageWhileTheWindowIsHiddenOrMinimisedAndLeavesItSo) {
    ChildProcess program = start_program();
    HWND main = program.wait_for_main_window();
    ASSERT_NE(main, nullptr);

    PostMessageA(main, kTrayCallbackMessage, 100, WM_LBUTTONUP);
    ASSERT_TRUE(wait_for([&] { return !IsWindowVisible(main); }));
    press_elsewhere(VK_F8);
    EXPECT_EQ(pages_after(1), times(1));
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));

    PostMessageA(main, kTrayCallbackMessage, 100, WM_LBUTTONUP);
    ASSERT_TRUE(wait_for([&] { return IsWindowVisible(main) != 0; }));
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(wait_for([&] { return IsIconic(main) && !IsWindowVisible(main); }));
    press_elsewhere(VK_F8);
    EXPECT_EQ(pages_after(2), times(2));
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(IsIconic(main));

    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.wait_for_exit(5000), 0u);
}

TEST_F(HotKeyTest, TheButtonOpensTheSamePage) {
    ChildProcess program = start_program();
    HWND main = program.wait_for_main_window();
    ASSERT_NE(main, nullptr);
    click_page_button(main);
    EXPECT_EQ(pages_after(1), times(1));
    ASSERT_EQ(times(1)[0], "http://www.example.com/?10001");
}

TEST_F(HotKeyTest, ASecondInstanceGetsNoHotKeyButItsButtonStillOpensThePage) {
    ChildProcess first = start_program();
    HWND first_main = first.wait_for_main_window();
    ASSERT_NE(first_main, nullptr);
    ChildProcess second = start_program();
    HWND second_main = second.wait_for_main_window();
    ASSERT_NE(second_main, nullptr);
    ASSERT_NE(second_main, first_main);

    press_elsewhere(VK_F8);
    EXPECT_EQ(pages_after(1), times(1));  // the first instance's, alone

    // With the first instance gone F8 is free, but the second one's
    // registration failed at its start and is not tried again: only its
    // button opens the page.
    PostMessageA(first_main, WM_CLOSE, 0, 0);
    ASSERT_EQ(first.wait_for_exit(5000), 0u);
    press_elsewhere(VK_F8);
    click_page_button(second_main);
    EXPECT_EQ(pages_after(2), times(2));
}

// In process, so that 标签6 can be watched. The only main window of this
// test program: the hot-key module takes over a procedure once per process.
struct LabelWatch {
    WNDPROC previous = nullptr;
    std::vector<std::pair<WPARAM, LPARAM>> notifications;
};
LabelWatch g_label_watch;

LRESULT CALLBACK watch_label(HWND label, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kHotKeyNotificationMessage)
        g_label_watch.notifications.emplace_back(wparam, lparam);
    return CallWindowProcA(g_label_watch.previous, label, message, wparam, lparam);
}

TEST_F(HotKeyTest, TheLabelHearsTheIdentifierAndZeroAndReleasingGivesTheProcedureBack) {
    OleInitialize(nullptr);  // as the program's start routine does, for the shell
    {
        testing::ScopedMainWindow program;
        ASSERT_TRUE(program.built());
        HWND main = program.window();
        HWND label = program.control(Control::标签6);
        g_label_watch.previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&watch_label)));

        const LONG_PTR class_procedure = GetClassLongPtrA(main, GCLP_WNDPROC);
        EXPECT_NE(GetWindowLongPtrA(main, GWLP_WNDPROC), class_procedure);

        // Pressed while the program itself has the focus, too.
        testing::make_foreground(main);
        testing::press_key(VK_F8);
        EXPECT_EQ(pages_after(1), times(1));
        ASSERT_EQ(g_label_watch.notifications.size(), 1u);
        EXPECT_EQ(g_label_watch.notifications[0].first, 33001u);  // not the key code 119
        EXPECT_EQ(g_label_watch.notifications[0].second, 0);

        // Another hot key of the window is passed on without a notification.
        SendMessageA(main, WM_HOTKEY, 7, MAKELPARAM(0, VK_F9));
        EXPECT_EQ(g_label_watch.notifications.size(), 1u);

        EXPECT_TRUE(release_hot_key(main, 33001));
        EXPECT_EQ(GetWindowLongPtrA(main, GWLP_WNDPROC), class_procedure);
        testing::press_key(VK_F8);
        pump_for(500);
        EXPECT_EQ(g_label_watch.notifications.size(), 1u);
        EXPECT_FALSE(release_hot_key(main, 33001));

        SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_label_watch.previous));
    }
    OleUninitialize();
}

}  // namespace
}  // namespace tolvane
