// The built ADSL.EXE on the simulated line, driven as a user drives it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_window.h"
#include "tests/support/settings_files.h"
#include "tools/simline/line_control.h"

namespace tolvane {
namespace {

namespace line = line_control;
using testing::RunningProgram;

const std::vector<std::string> kWalk = {"正在打开端口", "端口被打开",   "正在连接设备",
                                        "设备被连接",   "正在验证用户", "用户验证通过",
                                        "连接成功"};

class DialEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::remove_settings_file();
        ASSERT_TRUE(line::line_available());
    }
    void TearDown() override {
        testing::remove_settings_file();
        line::use_default_scenario();
    }

    void use(const std::string& scenario) {
        ASSERT_TRUE(line::use_scenario(line::temporary_scenario_path("e2e.scenario"), scenario))
            << line::scenario_problem();
    }

    static std::vector<line::Connection> live_connections() {
        std::vector<line::Connection> live;
        for (const auto& c : line::connections()) {
            if (c.phase != line::Phase::HangingUp)
                live.push_back(c);
        }
        return live;
    }
};

const char kFastLine[] =
    "entry \"宽带连接\"\n"
    "credentials \"a0001\" \"口令\"\n"
    "state-time 60\n"
    "hangup-time 50\n";

TEST_F(DialEndToEnd, ConnectWalksTheStatusLabelThroughTheStates) {
    use(kFastLine);
    RunningProgram p;
    ASSERT_TRUE(p.shown());
    EXPECT_EQ(p.text(Control::标签1), "连接已断开");
    p.set_text(Control::编辑框2, "a0001");
    p.set_text(Control::编辑框3, "口令");
    p.click(Control::按钮2);
    std::vector<std::string> expected = {"连接已断开"};
    expected.insert(expected.end(), kWalk.begin(), kWalk.end());
    EXPECT_EQ(p.watch_status_until("连接成功"), expected);

    const auto dials = line::dial_log();
    ASSERT_EQ(dials.size(), 1u);
    EXPECT_EQ(dials[0].entry_name, "宽带连接");
    EXPECT_EQ(dials[0].user_name, "a0001");
    EXPECT_EQ(dials[0].password, "口令");
    EXPECT_FALSE(dials[0].synchronous);
    EXPECT_EQ(p.close(), 0u);
}

TEST_F(DialEndToEnd, ErrorsEndInTheirTexts) {
    struct Case {
        const char* name;
        std::string scenario;
        const char* account;
        const char* text;
    };
    const Case cases[] = {
        {"wrong credentials", kFastLine, "somebody", "用户验证失败"},
        {"nobody answers", std::string(kFastLine) + "fail at ConnectDevice 678\n", "a0001",
         "有错误发生"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        use(c.scenario);
        RunningProgram p;
        ASSERT_TRUE(p.shown());
        p.set_text(Control::编辑框2, c.account);
        p.set_text(Control::编辑框3, "口令");
        p.click(Control::按钮2);
        EXPECT_TRUE(p.wait_for_status(c.text)) << p.text(Control::标签1);
        // A connect after the failure hangs the failed dial up and dials anew.
        const HRASCONN failed = line::dial_log().back().handle;
        p.click(Control::按钮2);
        EXPECT_TRUE(p.wait_for_status("正在打开端口"));
        EXPECT_EQ(line::dial_count(), 2u);
        const auto old = line::find_connection(failed);
        EXPECT_TRUE(!old || old->phase == line::Phase::HangingUp);
        EXPECT_EQ(p.close(), 0u);
    }
}

TEST_F(DialEndToEnd, ConnectWhileAnyConnectionIsUpDialsNothing) {
    use(std::string(kFastLine) + "connection \"公司VPN\"\n");
    RunningProgram p;
    ASSERT_TRUE(p.shown());
    EXPECT_EQ(p.text(Control::标签1), "已经连接");
    p.set_text(Control::标签1, "");
    p.click(Control::按钮2);
    EXPECT_TRUE(p.wait_for_status("已经连接"));
    Sleep(200);
    EXPECT_EQ(line::dial_count(), 0u);
    EXPECT_EQ(p.close(), 0u);
}

TEST_F(DialEndToEnd, ConnectDuringADialHangsTheOldOneUpFirst) {
    use("entry \"宽带连接\"\nstate-time 150\nhangup-time 50\n");
    RunningProgram p;
    ASSERT_TRUE(p.shown());
    p.click(Control::按钮2);
    ASSERT_TRUE(p.wait_for_status("端口被打开"));
    const HRASCONN first = line::dial_log().back().handle;
    p.click(Control::按钮2);
    ASSERT_TRUE(p.wait_for_status("正在打开端口"));
    EXPECT_EQ(line::dial_count(), 2u);
    const auto old = line::find_connection(first);
    EXPECT_TRUE(!old || old->phase == line::Phase::HangingUp) << "hung up before the new dial";
    EXPECT_TRUE(p.wait_for_status("连接成功"));
    EXPECT_EQ(live_connections().size(), 1u);
    EXPECT_EQ(p.close(), 0u);
}

TEST_F(DialEndToEnd, HangUpEndsEveryConnectionOfTheSystem) {
    use(std::string(kFastLine) + "connection \"公司VPN\"\n");
    RunningProgram p;
    ASSERT_TRUE(p.shown());
    ASSERT_EQ(live_connections().size(), 1u);
    p.click(Control::按钮3);
    EXPECT_TRUE(p.wait_for_status("连接已断开"));
    EXPECT_TRUE(live_connections().empty()) << "another program's connection too";

    // During a dial: hung up, and no state of it follows.
    use("entry \"宽带连接\"\nstate-time 100\nhangup-time 50\n");
    p.click(Control::按钮2);
    ASSERT_TRUE(p.wait_for_status("正在打开端口"));
    p.click(Control::按钮3);
    EXPECT_TRUE(p.wait_for_status("连接已断开"));
    Sleep(600);
    EXPECT_EQ(p.text(Control::标签1), "连接已断开");
    EXPECT_TRUE(live_connections().empty());
    EXPECT_EQ(p.close(), 0u);
}

TEST_F(DialEndToEnd, WithNoPhonebookEntryConnectChangesNothing) {
    use("state-time 20\n");
    RunningProgram p;
    ASSERT_TRUE(p.shown());
    p.click(Control::按钮2);
    Sleep(300);
    EXPECT_EQ(p.text(Control::标签1), "连接已断开");
    EXPECT_EQ(line::dial_count(), 0u);
    EXPECT_EQ(p.close(), 0u);
}

TEST_F(DialEndToEnd, ExitHangsUpADialButLeavesAConnectionUp) {
    // A hang-up that takes a second: a program that merely died would leave
    // the dial going down for that long after its end.
    use("entry \"宽带连接\"\nstate-time 300\nhangup-time 1000\n");
    {
        RunningProgram p;
        ASSERT_TRUE(p.shown());
        p.click(Control::按钮2);
        ASSERT_TRUE(p.wait_for_status("正在打开端口"));
        const HRASCONN dialing = line::dial_log().back().handle;
        EXPECT_EQ(p.close(), 0u);
        EXPECT_FALSE(line::find_connection(dialing)) << "hung up and waited for at exit";
    }
    use("entry \"宽带连接\"\nstate-time 20\nhangup-time 50\n");
    {
        RunningProgram p;
        ASSERT_TRUE(p.shown());
        p.click(Control::按钮2);
        ASSERT_TRUE(p.wait_for_status("连接成功"));
        EXPECT_EQ(p.close(), 0u);
    }
    const auto up = live_connections();
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].phase, line::Phase::Connected)
        << "an established connection outlives the program";
}

}  // namespace
}  // namespace tolvane
