#include <gtest/gtest.h>

#include <set>

#include "app/control_table.h"
#include "app/menu_definition.h"
#include "app/window_geometry.h"
#include "shell/tray_notification.h"

namespace tolvane {
namespace {

TEST(CentredOrigin, TruncatesTowardZero) {
    struct Case {
        int screen, size, expected;
    };
    const Case cases[] = {
        {1024, 327, 348},  // odd difference: the spare pixel is on the right
        {768, 194, 287},  {328, 327, 0},
        {327, 327, 0},    {326, 327, 0},  // -1 / 2 truncates to 0, not -1
        {320, 327, -3},                   // -7 / 2 is -3
        {0, 194, -97},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(centred_origin(c.screen, c.size), c.expected) << c.screen << " " << c.size;
    }
}

TEST(TabOrder, WalksForwardAndBackWrappingAndSkipping) {
    std::set<std::size_t> skipped;
    auto eligible = [&](std::size_t i) { return skipped.count(i) == 0; };
    const std::size_t n = kTabOrderLength;

    EXPECT_EQ(step_tab_order(n, 0, true, eligible), 1u);
    EXPECT_EQ(step_tab_order(n, 7, true, eligible), 0u);   // 按钮5 -> 编辑框2
    EXPECT_EQ(step_tab_order(n, 0, false, eligible), 7u);  // 编辑框2 -> 按钮5
    EXPECT_EQ(step_tab_order(n, std::nullopt, true, eligible), 0u);
    EXPECT_EQ(step_tab_order(n, std::nullopt, false, eligible), 7u);

    skipped = {0, 1};                                     // both edit boxes disabled
    EXPECT_EQ(step_tab_order(n, 7, true, eligible), 2u);  // 按钮5 -> 按钮2
    EXPECT_EQ(step_tab_order(n, 2, false, eligible), 7u);
    EXPECT_EQ(step_tab_order(n, std::nullopt, true, eligible), 2u);

    skipped = {0, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(step_tab_order(n, 7, true, eligible), 7u) << "the only one stays";
    skipped = {0, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(step_tab_order(n, 3, true, eligible), std::nullopt);
    EXPECT_EQ(step_tab_order(0, std::nullopt, true, eligible), std::nullopt);
}

TEST(ControlTable, TabOrderIsTheFirstEightControls) {
    const Control expected[] = {Control::编辑框2, Control::编辑框3, Control::按钮2,
                                Control::按钮3,   Control::选择框1, Control::按钮1,
                                Control::选择框2, Control::按钮5};
    for (std::size_t i = 0; i < kTabOrderLength; ++i) {
        EXPECT_EQ(kControlDefinitions[i].control, expected[i]);
        EXPECT_TRUE(kControlDefinitions[i].tab_stop);
    }
    for (std::size_t i = kTabOrderLength; i < kControlCount; ++i) {
        EXPECT_FALSE(kControlDefinitions[i].tab_stop);
        EXPECT_EQ(kControlDefinitions[i].kind, ControlKind::label);
    }
}

TEST(ControlTable, NoTwoVisibleControlsOverlap) {
    for (const auto& a : kControlDefinitions) {
        for (const auto& b : kControlDefinitions) {
            if (&a == &b || !a.visible || !b.visible)
                continue;
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << static_cast<int>(a.control) << " and "
                               << static_cast<int>(b.control);
        }
    }
}

TEST(MenuDefinition, CommandIdentifiersSelectItemsByIndex) {
    EXPECT_EQ(menu_command_identifier(MenuItem::显示), 20001);
    EXPECT_EQ(menu_command_identifier(MenuItem::关闭), 20003);
    EXPECT_EQ(menu_item_for_command(20000), MenuItem::托盘菜单);
    EXPECT_EQ(menu_item_for_command(20002), MenuItem::隐藏);
    EXPECT_EQ(menu_item_for_command(20004), std::nullopt);
    EXPECT_EQ(menu_item_for_command(19999), std::nullopt);
    EXPECT_EQ(menu_item_for_command(57600), std::nullopt);
}

TEST(TrayNotificationCode, MapsMouseMessages) {
    EXPECT_EQ(tray_notification_code(WM_LBUTTONUP), 1);
    EXPECT_EQ(tray_notification_code(WM_LBUTTONDBLCLK), 2);
    EXPECT_EQ(tray_notification_code(WM_RBUTTONUP), 3);
    EXPECT_EQ(tray_notification_code(WM_CONTEXTMENU), 3);
    for (UINT other : {UINT{WM_MOUSEMOVE}, UINT{WM_LBUTTONDOWN}, UINT{WM_RBUTTONDOWN},
                       UINT{WM_RBUTTONDBLCLK}, 0u}) {
        EXPECT_EQ(tray_notification_code(other), 0) << other;
    }
}

}  // namespace
}  // namespace tolvane
