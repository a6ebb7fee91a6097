// The settings file through the profile functions, on the real file.
#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

using testing::read_settings_file;
using testing::write_settings_file;

Text read_key(const char* key) {
    return read_ini_text(kSettingsFile, kSettingsSection, key, nullptr);
}

class IniFileTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::remove_settings_file(); }
    void TearDown() override { testing::remove_settings_file(); }
};

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsAsTheDefault) {
    EXPECT_EQ(read_key(kAccountKey).get(), nullptr);
    EXPECT_STREQ(read_ini_text(kSettingsFile, kSettingsSection, kAccountKey, "x").c_str(), "x");

    write_settings_file("[其他]\r\n用户名=abc\r\n");
    EXPECT_EQ(read_key(kAccountKey).get(), nullptr) << "another section";
    write_settings_file("[用户参数]\r\n密码=abc\r\n");
    EXPECT_EQ(read_key(kAccountKey).get(), nullptr) << "another key";
    EXPECT_STREQ(read_key(kPasswordKey).c_str(), "abc");
}

TEST_F(IniFileTest, ValuesReadBackAsTheProfileFunctionsGiveThem) {
    struct Case {
        std::string stored;
        std::string read;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"账号 with spaces", "账号 with spaces"},
        {"\"quoted\"", "quoted"},
        {"'single'", "single"},
        {"\"unbalanced", "\"unbalanced"},
        {"", ""},
        {std::string(10240, 'p'), std::string(10239, 'p')},
        {std::string(20000, 'q'), std::string(10239, 'q')},
    };
    for (const Case& c : cases) {
        write_settings_file("[用户参数]\r\n密码=" + c.stored + "\r\n");
        Text value = read_key(kPasswordKey);
        EXPECT_EQ(std::string(value.c_str()), c.read) << c.stored.size();
        EXPECT_EQ(value.get() == nullptr, c.read.empty());
    }
}

TEST_F(IniFileTest, WritesAlwaysKeepTheKeyAndReplaceInPlace) {
    EXPECT_TRUE(write_ini_text(kSettingsFile, kSettingsSection, kAccountKey, "first"));
    EXPECT_TRUE(write_ini_text(kSettingsFile, kSettingsSection, kPasswordKey, nullptr));
    EXPECT_TRUE(write_ini_text(kSettingsFile, kSettingsSection, kAccountKey, "second"));
    EXPECT_EQ(read_settings_file(), "[用户参数]\r\n用户名=second\r\n密码=\r\n");
    const std::string long_value(30000, 'v');
    EXPECT_TRUE(write_ini_text(kSettingsFile, kSettingsSection, kPasswordKey, long_value.c_str()));
    EXPECT_EQ(read_settings_file(), "[用户参数]\r\n用户名=second\r\n密码=" + long_value + "\r\n");
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenReportsFalse) {
    EXPECT_FALSE(
        write_ini_text("C:\\no such directory\\adsl.ini", kSettingsSection, kAccountKey, "x"));
}

TEST(SwitchRule, OnlyTheOneByteOneIsOn) {
    EXPECT_TRUE(is_switch_on("1"));
    for (const char* off : {"", "0", "1 ", " 1", "01", "11", "true", "TRUE", "on"}) {
        EXPECT_FALSE(is_switch_on(off)) << "'" << off << "'";
    }
    EXPECT_FALSE(is_switch_on(nullptr));
}

}  // namespace
}  // namespace tolvane
