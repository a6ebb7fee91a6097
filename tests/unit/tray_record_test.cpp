// The 88-byte notification-area record, its tip, and the hot-key modifiers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/menu_definition.h"
#include "shell/hot_key.h"
#include "shell/notify_icon.h"
#include "shell/tray_menu.h"

namespace tolvane {
namespace {

std::string tip_of(const NOTIFYICONDATAA& record) {
    return std::string(record.szTip, strnlen(record.szTip, sizeof record.szTip));
}

bool zero_from(const NOTIFYICONDATAA& record, std::size_t first) {
    for (std::size_t i = first; i < sizeof record.szTip; ++i) {
        if (record.szTip[i] != '\0')
            return false;
    }
    return true;
}

TEST(TrayIconRecord, HasTheFirstLayout) {
    EXPECT_EQ(sizeof(NOTIFYICONDATAA), 88u);
    EXPECT_EQ(offsetof(NOTIFYICONDATAA, hIcon), 20u);
    EXPECT_EQ(offsetof(NOTIFYICONDATAA, szTip), 24u);
    EXPECT_EQ(sizeof(NOTIFYICONDATAA::szTip), 64u);
}

TEST(TrayIconRecord, AddsWithMessageIconAndTipAndDeletesWithNothing) {
    HWND window = reinterpret_cast<HWND>(0x1234);
    HICON icon = reinterpret_cast<HICON>(0x5678);
    const NOTIFYICONDATAA add = tray_icon_record(window, icon, "Tolvane");
    EXPECT_EQ(add.cbSize, 88u);
    EXPECT_EQ(add.hWnd, window);
    EXPECT_EQ(add.uID, 100u);
    EXPECT_EQ(add.uFlags, 7u);
    EXPECT_EQ(add.uCallbackMessage, 0x8064u);
    EXPECT_EQ(add.hIcon, icon);
    EXPECT_EQ(tip_of(add), "Tolvane");
    EXPECT_TRUE(zero_from(add, 7));

    const NOTIFYICONDATAA gone = tray_icon_delete_record(window);
    EXPECT_EQ(gone.cbSize, 88u);
    EXPECT_EQ(gone.hWnd, window);
    EXPECT_EQ(gone.uID, 100u);
    EXPECT_EQ(gone.uFlags, 0u);
    EXPECT_EQ(gone.uCallbackMessage, 0u);
    EXPECT_EQ(gone.hIcon, nullptr);
}

TEST(TrayIconRecord, CopiesAtMostSixtyTwoBytesOfTheTip) {
    struct Case {
        std::string tip;
        std::string expected;
    };
    const std::string a61(61, 'a'), a62(62, 'a'), a60(60, 'a');
    const Case cases[] = {
        {"", ""},
        {a62, a62},
        {a62 + "b", a62},
        {std::string(200, 'x'), std::string(62, 'x')},
        {a60 + "中", a60 + "中"},  // the double-byte character fits exactly
        {a61 + "中", a61},         // half of it would not be a character
        {a61 + "\x81", a61 + "\x81"},
        {std::string(31, 'a') + "中文中文中文中文中文中文中文中文中文",
         std::string(31, 'a') + "中文中文中文中文中文中文中文中"},
    };
    for (const Case& c : cases) {
        const NOTIFYICONDATAA record =
            tray_icon_record(nullptr, nullptr, c.tip.empty() ? nullptr : c.tip.c_str());
        EXPECT_EQ(tip_of(record), c.expected) << c.tip;
        EXPECT_TRUE(zero_from(record, c.expected.size())) << c.tip;
        EXPECT_EQ(record.szTip[62], '\0');
        EXPECT_EQ(record.szTip[63], '\0');
    }
}

TEST(TrayMenu, HoldsTheThreeSubItemsInOrder) {
    std::vector<std::string> texts;
    std::vector<int> commands;
    for_each_tray_menu_item([&](std::size_t index) {
        texts.push_back(kMenuDefinition[index].text);
        commands.push_back(kFirstMenuCommand + static_cast<int>(index));
    });
    EXPECT_EQ(texts, (std::vector<std::string>{"显示", "隐藏", "关闭"}));
    EXPECT_EQ(commands, (std::vector<int>{20001, 20002, 20003}));
}

TEST(HotKeyModifiers, MapsTheCodesAndPassesOthersThrough) {
    const UINT expected[] = {
        0,       MOD_CONTROL,           MOD_SHIFT,          MOD_CONTROL | MOD_SHIFT,
        MOD_ALT, MOD_ALT | MOD_CONTROL, MOD_ALT | MOD_SHIFT};
    for (int code = 0; code < 7; ++code) {
        EXPECT_EQ(hot_key_modifiers(code), expected[code]) << code;
    }
    EXPECT_EQ(hot_key_modifiers(7), 7u);
    EXPECT_EQ(hot_key_modifiers(8), static_cast<UINT>(MOD_WIN));
    EXPECT_EQ(hot_key_modifiers(0x4000), 0x4000u);
}

}  // namespace
}  // namespace tolvane
