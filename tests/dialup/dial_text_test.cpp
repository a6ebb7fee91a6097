#include "dialup/dial_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace tolvane {
namespace {

TEST(DialStateText, FollowsTheStateTable) {
    struct Case {
        RASCONNSTATE state;
        DWORD error;
        const char* text;  // null: the text stays unchanged
    };
    const Case cases[] = {
        {RASCS_OpenPort, 0, "正在打开端口"},
        {RASCS_PortOpened, 0, "端口被打开"},
        {RASCS_ConnectDevice, 0, "正在连接设备"},
        {RASCS_DeviceConnected, 0, "设备被连接"},
        {RASCS_Authenticate, 0, "正在验证用户"},
        {RASCS_Authenticated, 0, "用户验证通过"},
        {RASCS_Connected, 0, "连接成功"},
        {RASCS_Disconnected, 0, "连接被断开"},
        {RASCS_AllDevicesConnected, 0, nullptr},
        {RASCS_AuthNotify, 0, nullptr},
        {RASCS_Projected, 0, nullptr},
        {0x1000, 0, nullptr},
        {RASCS_AuthNotify, 691, "用户验证失败"},
        {RASCS_AuthNotify, 1, "用户验证失败"},
        {RASCS_ConnectDevice, 678, "有错误发生"},
        {RASCS_Connected, 5, "有错误发生"},
        {RASCS_Projected, 720, "有错误发生"},
    };
    for (const Case& c : cases) {
        const char* text = dial_state_text(c.state, c.error);
        if (c.text == nullptr) {
            EXPECT_EQ(text, nullptr) << c.state << "/" << c.error;
        } else {
            EXPECT_STREQ(text, c.text) << c.state << "/" << c.error;
        }
    }
}

TEST(ParseEntryIndex, ReadsLikeTheCLibraryButSaturates) {
    struct Case {
        const char* text;
        long index;
    };
    const Case cases[] = {
        {"", 0},
        {"0", 0},
        {"1", 1},
        {"12", 12},
        {"  3", 3},
        {"\t\r\n\v\f7", 7},
        {"+2", 2},
        {"-1", -1},
        {" -4", -4},
        {"5x", 5},
        {"1 2", 1},
        {"x1", 0},
        {"+", 0},
        {"- 1", 0},
        {"007", 7},
        {"\xB1\xED", 0},  // a double-byte character is no digit
        {"99999999999999999999", LONG_MAX},
        {"-99999999999999999999", -LONG_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse_entry_index(c.text), c.index) << "'" << c.text << "'";
    EXPECT_EQ(parse_entry_index(nullptr), 0);
}

TEST(CopyIntoField, CopiesWhatFitsAndRefusesWhatDoesNot) {
    char field[8];
    std::memset(field, 'x', sizeof field);
    EXPECT_TRUE(copy_into_field(field, sizeof field, "1234567"));
    EXPECT_STREQ(field, "1234567");

    std::memset(field, 'x', sizeof field);
    EXPECT_FALSE(copy_into_field(field, sizeof field, "12345678"));
    EXPECT_EQ(field[0], 'x') << "nothing is written";

    EXPECT_TRUE(copy_into_field(field, sizeof field, nullptr));
    EXPECT_STREQ(field, "");
    EXPECT_FALSE(copy_into_field(field, 0, ""));
}

}  // namespace
}  // namespace tolvane
