// A user's whole story across starts: save, auto-connect, connected at exit.
#include <gtest/gtest.h>

#include "tests/support/program_window.h"
#include "tests/support/settings_files.h"
#include "tools/simline/line_control.h"

namespace tolvane {
namespace {

namespace line = line_control;
using testing::RunningProgram;

TEST(RememberedUser, SaveThenStartAgainDialsByItselfAndFindsTheConnectionNextTime) {
    ASSERT_TRUE(line::use_scenario(line::temporary_scenario_path("story.scenario"),
                                   "entry \"宽带连接\"\n"
                                   "credentials \"a0001\" \"口令\"\n"
                                   "state-time 30\nhangup-time 50\n"));
    testing::remove_settings_file();
    {
        RunningProgram p;
        ASSERT_TRUE(p.shown());
        p.set_text(Control::编辑框2, "a0001");
        p.set_text(Control::编辑框3, "口令");
        p.click(Control::选择框1);
        p.click(Control::选择框2);
        p.click(Control::按钮5);
        Sleep(300);
        EXPECT_TRUE(p.checked(Control::选择框1));
        EXPECT_TRUE(p.checked(Control::选择框2));
        EXPECT_EQ(p.close(), 0u);
    }
    EXPECT_EQ(line::dial_count(), 0u) << "saving dials nothing";
    {
        RunningProgram p;
        ASSERT_TRUE(p.shown());
        EXPECT_EQ(p.text(Control::编辑框2), "a0001");
        EXPECT_FALSE(p.enabled(Control::编辑框2));
        EXPECT_FALSE(p.enabled(Control::编辑框3));
        EXPECT_TRUE(p.checked(Control::选择框1));
        EXPECT_TRUE(p.checked(Control::选择框2));
        EXPECT_TRUE(p.wait_for_status("连接成功")) << p.text(Control::标签1);
        ASSERT_EQ(line::dial_count(), 1u);
        EXPECT_EQ(line::dial_log()[0].user_name, "a0001");
        EXPECT_EQ(line::dial_log()[0].password, "口令");
        EXPECT_EQ(p.close(), 0u);
    }
    {
        RunningProgram p;
        ASSERT_TRUE(p.shown());
        EXPECT_EQ(p.text(Control::标签1), "已经连接");
        Sleep(300);
        EXPECT_EQ(line::dial_count(), 1u) << "no second dial";
        p.click(Control::按钮3);
        EXPECT_TRUE(p.wait_for_status("连接已断开"));
        EXPECT_EQ(p.close(), 0u);
    }
    testing::remove_settings_file();
    line::use_default_scenario();
}

}  // namespace
}  // namespace tolvane
