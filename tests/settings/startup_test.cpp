// The window as the start-up sequence leaves it, for settings files written
// byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "app/control_access.h"
#include "dialup/dial_manager.h"
#include "tests/dialup/fake_ras.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

using testing::fake_ras;

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::reset_fake_ras();
        fake_ras().entries = {"宽带连接"};
        dial_state.connection = nullptr;
        dial_state.status_window = nullptr;
    }
    void TearDown() override {
        testing::remove_settings_file();
        dial_state.connection = nullptr;
        dial_state.status_window = nullptr;
    }

    static std::string text(HWND w) {
        char t[256] = {};
        GetWindowTextA(w, t, sizeof t);
        return t;
    }
};

TEST_F(StartupTest, WithoutAFileTheWindowComesUpEmptyAndOpen) {
    testing::remove_settings_file();
    testing::ScopedMainWindow main;
    ASSERT_TRUE(main.built());
    testing::make_foreground(main.window());
    EXPECT_EQ(text(main.control(Control::编辑框2)), "");
    EXPECT_EQ(text(main.control(Control::编辑框3)), "");
    EXPECT_FALSE(is_control_checked(Control::选择框1));
    EXPECT_FALSE(is_control_checked(Control::选择框2));
    EXPECT_TRUE(IsWindowEnabled(main.control(Control::编辑框2)));
    EXPECT_EQ(text(main.control(Control::标签1)), "连接已断开");
    EXPECT_EQ(GetFocus(), main.control(Control::编辑框2));
    EXPECT_TRUE(fake_ras().dials.empty());
}

TEST_F(StartupTest, RememberOnFillsTicksAndLocksTheBoxes) {
    testing::write_settings_file("[用户参数]\r\n用户名=a0001\r\n密码=口令\r\n保存=1\r\n开机=0\r\n");
    testing::ScopedMainWindow main;
    ASSERT_TRUE(main.built());
    testing::make_foreground(main.window());
    EXPECT_EQ(text(main.control(Control::编辑框2)), "a0001");
    EXPECT_EQ(text(main.control(Control::编辑框3)), "口令");
    EXPECT_TRUE(is_control_checked(Control::选择框1));
    EXPECT_FALSE(is_control_checked(Control::选择框2));
    EXPECT_FALSE(IsWindowEnabled(main.control(Control::编辑框2)));
    EXPECT_FALSE(IsWindowEnabled(main.control(Control::编辑框3)));
    EXPECT_EQ(GetFocus(), main.control(Control::按钮2)) << "the first control that can take it";
    EXPECT_TRUE(fake_ras().dials.empty());
}

TEST_F(StartupTest, SwitchesAreOnOnlyForExactlyOne) {
    struct Case {
        const char* file;
        bool remember, auto_connect;
    };
    const Case cases[] = {
        {"[用户参数]\r\n用户名=u\r\n密码=p\r\n保存=0\r\n开机=0\r\n", false, false},
        // The profile functions trim spaces around a value; quotes keep them.
        {"[用户参数]\r\n保存=\"1 \"\r\n开机=01\r\n", false, false},
        {"[用户参数]\r\n保存=01\r\n开机=\" 1\"\r\n", false, false},
        {"[用户参数]\r\n保存=true\r\n开机=\r\n", false, false},
        {"[用户参数]\r\n保存=11\r\n开机=1\r\n", false, true},
        {"[其他参数]\r\n用户名=u\r\n保存=1\r\n开机=1\r\n", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        testing::reset_fake_ras();
        fake_ras().entries = {"宽带连接"};
        testing::write_settings_file(c.file);
        testing::ScopedMainWindow main;
        ASSERT_TRUE(main.built());
        EXPECT_EQ(is_control_checked(Control::选择框1), c.remember);
        EXPECT_EQ(IsWindowEnabled(main.control(Control::编辑框2)) == 0, c.remember);
        EXPECT_EQ(is_control_checked(Control::选择框2), c.auto_connect);
        EXPECT_EQ(fake_ras().dials.size(), c.auto_connect ? 1u : 0u);
        dial_state.connection = nullptr;
    }
}

TEST_F(StartupTest, StoredAccountFillsTheBoxesEvenWithRememberOff) {
    testing::write_settings_file("[用户参数]\r\n用户名=stored\r\n密码=\"quoted pw\"\r\n保存=0\r\n");
    testing::ScopedMainWindow main;
    ASSERT_TRUE(main.built());
    EXPECT_EQ(text(main.control(Control::编辑框2)), "stored");
    EXPECT_EQ(text(main.control(Control::编辑框3)), "quoted pw");
    EXPECT_TRUE(IsWindowEnabled(main.control(Control::编辑框2)));
    EXPECT_FALSE(is_control_checked(Control::选择框1));
}

TEST_F(StartupTest, AutoConnectDialsWithTheStoredTextsWhenNothingIsUp) {
    testing::write_settings_file("[用户参数]\r\n用户名=a0001\r\n密码=pw\r\n保存=1\r\n开机=1\r\n");
    testing::ScopedMainWindow main;
    ASSERT_TRUE(main.built());
    EXPECT_EQ(text(main.control(Control::标签1)), "连接已断开");
    EXPECT_TRUE(is_control_checked(Control::选择框2));
    ASSERT_EQ(fake_ras().dials.size(), 1u);
    EXPECT_STREQ(fake_ras().dials[0].params.szEntryName, "宽带连接");
    EXPECT_STREQ(fake_ras().dials[0].params.szUserName, "a0001");
    EXPECT_STREQ(fake_ras().dials[0].params.szPassword, "pw");
    EXPECT_EQ(dial_state.status_window, main.control(Control::标签1));
    testing::report_state(RASCS_OpenPort);
    EXPECT_EQ(text(main.control(Control::标签1)), "正在打开端口");
}

TEST_F(StartupTest, AutoConnectWithEmptyStoredValuesDialsEmpty) {
    testing::write_settings_file("[用户参数]\r\n开机=1\r\n");
    testing::ScopedMainWindow main;
    ASSERT_TRUE(main.built());
    ASSERT_EQ(fake_ras().dials.size(), 1u);
    EXPECT_STREQ(fake_ras().dials[0].params.szUserName, "");
    EXPECT_STREQ(fake_ras().dials[0].params.szPassword, "");
}

TEST_F(StartupTest, AutoConnectWithAConnectionUpOnlyShowsIt) {
    fake_ras().add_connection(RASCS_Connected, true);
    testing::write_settings_file("[用户参数]\r\n开机=1\r\n");
    testing::ScopedMainWindow main;
    ASSERT_TRUE(main.built());
    EXPECT_EQ(text(main.control(Control::标签1)), "已经连接");
    EXPECT_TRUE(is_control_checked(Control::选择框2));
    EXPECT_TRUE(fake_ras().dials.empty());
}

}  // namespace
}  // namespace tolvane
