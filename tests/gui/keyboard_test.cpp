// Tab order, Esc and the focus hand-over, with real key input.
#include <gtest/gtest.h>

#include "app/control_access.h"
#include "app/control_table.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

using testing::pump_for;
using testing::pump_until;
using testing::ScopedMainWindow;

class KeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::remove_settings_file();
        ASSERT_TRUE(main_.built());
        testing::make_foreground(main_.window());
    }

    void press(WORD vk, std::initializer_list<WORD> modifiers = {}) {
        testing::press_key(vk, modifiers);
        pump_for(60);
    }

    HWND focus_after(WORD vk, std::initializer_list<WORD> modifiers = {}) {
        press(vk, modifiers);
        return GetFocus();
    }

    ScopedMainWindow main_;
};

TEST_F(KeyboardTest, FirstFocusIsTheAccountBox) {
    EXPECT_EQ(GetFocus(), main_.control(Control::编辑框2));
}

TEST_F(KeyboardTest, TabAndShiftTabFollowTheTabOrderAndWrap) {
    const Control order[] = {Control::编辑框3, Control::按钮2,   Control::按钮3, Control::选择框1,
                             Control::按钮1,   Control::选择框2, Control::按钮5, Control::编辑框2};
    SetFocus(main_.control(Control::编辑框2));
    for (Control c : order)
        EXPECT_EQ(focus_after(VK_TAB), main_.control(c)) << static_cast<int>(c);
    EXPECT_EQ(focus_after(VK_TAB, {VK_SHIFT}), main_.control(Control::按钮5));
    EXPECT_EQ(focus_after(VK_TAB, {VK_SHIFT}), main_.control(Control::选择框2));
}

TEST_F(KeyboardTest, TabSkipsDisabledAndHiddenControls) {
    set_control_disabled(Control::编辑框2, true);
    set_control_disabled(Control::编辑框3, true);
    SetFocus(main_.control(Control::按钮5));
    EXPECT_EQ(focus_after(VK_TAB), main_.control(Control::按钮2));
    EXPECT_EQ(focus_after(VK_TAB, {VK_SHIFT}), main_.control(Control::按钮5));

    ShowWindow(main_.control(Control::按钮3), SW_HIDE);
    SetFocus(main_.control(Control::按钮2));
    EXPECT_EQ(focus_after(VK_TAB), main_.control(Control::选择框1));
}

TEST_F(KeyboardTest, FocusGoesToTheFirstEnabledControlWhenNoneIsRemembered) {
    set_control_disabled(Control::编辑框2, true);
    set_control_disabled(Control::编辑框3, true);
    SetFocus(main_.window());
    EXPECT_EQ(GetFocus(), main_.control(Control::按钮2));
}

TEST_F(KeyboardTest, FocusComesBackToTheControlThatHadItOnDeactivation) {
    SetFocus(main_.control(Control::按钮3));
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    testing::make_foreground(other);
    EXPECT_NE(GetFocus(), main_.control(Control::按钮3));
    testing::make_foreground(main_.window());
    EXPECT_EQ(GetFocus(), main_.control(Control::按钮3));
    DestroyWindow(other);
}

TEST_F(KeyboardTest, EnterDoesNothingOfTheWindowsOwn) {
    SetFocus(main_.control(Control::编辑框3));
    set_control_text(Control::标签1, "before");
    press(VK_RETURN);
    EXPECT_TRUE(IsWindow(main_.window()));
    EXPECT_EQ(GetFocus(), main_.control(Control::编辑框3));
    EXPECT_STREQ(get_control_text(Control::标签1).c_str(), "before");
}

TEST_F(KeyboardTest, EscWithAModifierDoesNotClose) {
    for (WORD modifier : {WORD{VK_CONTROL}, WORD{VK_SHIFT}, WORD{VK_MENU}}) {
        SetFocus(main_.control(Control::编辑框2));
        press(VK_ESCAPE, {modifier});
        pump_for(100);
        EXPECT_TRUE(IsWindow(main_.window())) << modifier;
        testing::make_foreground(main_.window());
    }
}

TEST_F(KeyboardTest, EscClosesFromAnyControl) {
    SetFocus(main_.control(Control::选择框2));
    press(VK_ESCAPE);
    EXPECT_TRUE(pump_until([&] { return !IsWindow(main_.window()); }, 2000));
}

}  // namespace
}  // namespace tolvane
