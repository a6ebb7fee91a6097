// The built ADSL.EXE as a process of its own: how it starts and how it ends.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/gui.h"
#include "tests/support/process.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

using testing::build_path;
using testing::ChildProcess;

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::remove_settings_file(); }

    ChildProcess start_program(const std::string& current_directory = "C:\\windows") {
        ChildProcess p = ChildProcess::start(build_path("ADSL.EXE"), current_directory);
        EXPECT_TRUE(p.started());
        return p;
    }
};

TEST_F(ProgramTest, RunsInItsOwnDirectoryWhereverItIsStartedFrom) {
    ChildProcess p = start_program("C:\\windows");
    ASSERT_NE(p.wait_for_main_window(), nullptr);
    std::string dir = p.current_directory();
    std::string expected = testing::build_directory();
    expected.pop_back();  // no trailing backslash
    // The process parameters keep the directory with a trailing backslash.
    if (!dir.empty() && dir.back() == '\\')
        dir.pop_back();
    EXPECT_EQ(lstrcmpiA(dir.c_str(), expected.c_str()), 0) << dir << " vs " << expected;
    PostMessageA(p.wait_for_main_window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(p.wait_for_exit(), 0u);
}

TEST_F(ProgramTest, EndsWithExitCodeZeroOnEveryWayOfClosing) {
    struct Way {
        const char* name;
        void (*close)(HWND);
    };
    const Way ways[] = {
        {"WM_CLOSE", [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }},
        {"close box", [](HWND w) { PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Esc",
         [](HWND w) {
             SetForegroundWindow(w);
             Sleep(200);
             testing::press_key(VK_ESCAPE);
         }},
        {"Alt+F4",
         [](HWND w) {
             SetForegroundWindow(w);
             Sleep(200);
             testing::press_key(VK_F4, {VK_MENU});
         }},
        {"关闭 in the tray menu", [](HWND w) { PostMessageA(w, WM_COMMAND, 20003, 0); }},
        {"关闭 while minimised into the tray",
         [](HWND w) {
             PostMessageA(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
             PostMessageA(w, WM_COMMAND, 20003, 0);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ChildProcess p = start_program();
        HWND w = p.wait_for_main_window();
        ASSERT_NE(w, nullptr);
        way.close(w);
        EXPECT_EQ(p.wait_for_exit(5000), 0u);
    }
}

TEST_F(ProgramTest, AWindowThatCannotBeBuiltEndsInTheErrorBoxAndMinusOne) {
    ChildProcess p = ChildProcess::start(build_path("tests\\fault\\adsl_refuses_window.exe"));
    ASSERT_TRUE(p.started());
    HWND box = p.wait_for_window("#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(testing::window_text(box), "错误");
    // The box's text is its static control 0xFFFF.
    EXPECT_EQ(testing::window_text(GetDlgItem(box, 0xFFFF)),
              "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    EXPECT_FALSE(IsWindow(FindWindowA("TolvaneMainWindow", nullptr)));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(p.wait_for_exit(5000), 0xFFFFFFFFu);
}

TEST_F(ProgramTest, ATextBlockThatCannotBeHadEndsInTheErrorBoxAndMinusOne) {
    // The account is the first Text the program allocates: 4 bytes for "abc".
    testing::write_settings_file("[用户参数]\r\n用户名=abc\r\n");
    ChildProcess p = ChildProcess::start(build_path("tests\\fault\\adsl_no_memory.exe"));
    ASSERT_TRUE(p.started());
    HWND box = p.wait_for_window("#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(testing::window_text(box), "错误");
    EXPECT_EQ(testing::window_text(GetDlgItem(box, 0xFFFF)),
              "运行时出错!\r\n\r\n错误信息：分配 4 字节内存失败!\r\n");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(p.wait_for_exit(5000), 0xFFFFFFFFu);
    testing::remove_settings_file();
}

TEST_F(ProgramTest, AnOperatorNewThatCannotBeServedEndsInTheErrorBoxAndMinusOne) {
    ChildProcess p = ChildProcess::start(build_path("tests\\fault\\adsl_huge_new.exe"));
    ASSERT_TRUE(p.started());
    HWND box = p.wait_for_window("#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(testing::window_text(box), "错误");
    EXPECT_EQ(testing::window_text(GetDlgItem(box, 0xFFFF)),
              "运行时出错!\r\n\r\n错误信息：分配 4294963200 字节内存失败!\r\n");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(p.wait_for_exit(5000), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace tolvane
