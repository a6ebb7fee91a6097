// The connect and hang-up buttons on the fake service.
#include <string>
#include <vector>

#include "dialup/connection_commands.h"
#include "tests/dialup/dial_fixture.h"

namespace tolvane {
namespace {

using testing::fake_ras;
using testing::report_state;

class ConnectionCommandsTest : public testing::DialFixture {
  protected:
    void click(Control button) {
        SendMessageA(main_.control(button), BM_CLICK, 0, 0);
        testing::pump_for(20);
    }
    void type_credentials(const char* account, const char* password) {
        SetWindowTextA(main_.control(Control::编辑框2), account);
        SetWindowTextA(main_.control(Control::编辑框3), password);
    }
};

TEST_F(ConnectionCommandsTest, ConnectDialsTheFirstEntryWithTheTypedTexts) {
    fake_ras().entries = {"宽带连接", "其他"};
    type_credentials("a0001@adsl", "口令pw");
    set_control_disabled(Control::编辑框2, true);  // disabled boxes are read all the same
    click(Control::按钮2);
    ASSERT_EQ(fake_ras().dials.size(), 1u);
    EXPECT_STREQ(fake_ras().dials[0].params.szEntryName, "宽带连接");
    EXPECT_STREQ(fake_ras().dials[0].params.szUserName, "a0001@adsl");
    EXPECT_STREQ(fake_ras().dials[0].params.szPassword, "口令pw");
    EXPECT_NE(fake_ras().dials[0].notifier, nullptr);
    EXPECT_EQ(status_text(), "before") << "the command writes no text when it dials";

    for (RASCONNSTATE s :
         {RASCS_OpenPort, RASCS_PortOpened, RASCS_ConnectDevice, RASCS_DeviceConnected,
          RASCS_Authenticate, RASCS_Authenticated, RASCS_Connected}) {
        report_state(s);
    }
    EXPECT_EQ(status_text(), "连接成功");
}

TEST_F(ConnectionCommandsTest, ConnectWithEmptyBoxesDialsWithEmptyCredentials) {
    click(Control::按钮2);
    ASSERT_EQ(fake_ras().dials.size(), 1u);
    EXPECT_STREQ(fake_ras().dials[0].params.szUserName, "");
    EXPECT_STREQ(fake_ras().dials[0].params.szPassword, "");
}

TEST_F(ConnectionCommandsTest, ConnectWhileAnyConnectionIsUpOnlySaysSo) {
    fake_ras().add_connection(RASCS_Connected, true);  // another program's
    click(Control::按钮2);
    EXPECT_EQ(status_text(), "已经连接");
    EXPECT_TRUE(fake_ras().dials.empty());
}

TEST_F(ConnectionCommandsTest, ConnectWithNoPhonebookEntryChangesNothing) {
    fake_ras().entries.clear();
    click(Control::按钮2);
    EXPECT_TRUE(fake_ras().dials.empty());
    EXPECT_EQ(status_text(), "before");
}

TEST_F(ConnectionCommandsTest, ConnectAgainHangsUpTheRunningOrFailedDialFirst) {
    click(Control::按钮2);
    report_state(RASCS_AuthNotify, 691);
    EXPECT_EQ(status_text(), "用户验证失败");
    HRASCONN failed = dial_state.connection;
    click(Control::按钮2);
    ASSERT_EQ(fake_ras().dials.size(), 2u);
    EXPECT_FALSE(fake_ras().exists(failed));
    report_state(RASCS_OpenPort);
    EXPECT_EQ(status_text(), "正在打开端口") << "the new dial goes on";
}

TEST_F(ConnectionCommandsTest, HangUpEndsEverythingAndSaysDisconnected) {
    fake_ras().add_connection(RASCS_Connected, true);
    click(Control::按钮2);  // online: no dial
    HRASCONN other = fake_ras().add_connection(RASCS_Connected, true);
    click(Control::按钮3);
    EXPECT_EQ(status_text(), "连接已断开");
    EXPECT_FALSE(fake_ras().exists(other));
    EXPECT_FALSE(is_online());

    // During a dial: hung up, and no state of it follows.
    testing::reset_fake_ras();
    fake_ras().entries = {"宽带连接"};
    click(Control::按钮2);
    report_state(RASCS_ConnectDevice);
    std::vector<std::string> texts;
    HRASCONN bystander = fake_ras().add_connection(RASCS_Connected, true);
    fake_ras().on_hang_up = [&](HRASCONN h) {
        if (h == bystander)
            texts.push_back(status_text());
    };
    const LPVOID notifier = fake_ras().dials.back().notifier;
    click(Control::按钮3);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "连接被挂断");
    EXPECT_EQ(status_text(), "连接已断开");
    reinterpret_cast<RasDialFunc>(notifier)(0xCCCD, RASCS_Connected, 0);
    EXPECT_EQ(status_text(), "连接已断开");
}

TEST_F(ConnectionCommandsTest, HangUpWithNoDialShowsNoHungUpText) {
    std::vector<std::string> texts;
    fake_ras().add_connection(RASCS_Connected, true);
    fake_ras().on_hang_up = [&](HRASCONN) { texts.push_back(status_text()); };
    click(Control::按钮3);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "before");
    EXPECT_EQ(status_text(), "连接已断开");
}

TEST_F(ConnectionCommandsTest, ShowConnectionStateWritesTheStateAndTellsIt) {
    EXPECT_FALSE(show_connection_state());
    EXPECT_EQ(status_text(), "连接已断开");
    fake_ras().add_connection(RASCS_Connected, true);
    EXPECT_TRUE(show_connection_state());
    EXPECT_EQ(status_text(), "已经连接");
}

}  // namespace
}  // namespace tolvane
