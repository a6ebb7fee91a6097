// The main window's menu definition. Its one top-level item is hidden, so
// the menu bar shows nothing; the item's three children are the tray menu.
#pragma once

#include <array>
#include <optional>

namespace tolvane {

struct MenuItemDefinition {
    const char* text;
    int level;  // 0 top level, 1 inside the item above
    bool shown;
};

inline constexpr std::array<MenuItemDefinition, 4> kMenuDefinition = {{
    {"托盘菜单", 0, false},
    {"显示", 1, true},
    {"隐藏", 1, true},
    {"关闭", 1, true},
}};

enum class MenuItem : int { 托盘菜单 = 0, 显示 = 1, 隐藏 = 2, 关闭 = 3 };

inline constexpr int kFirstMenuCommand = 20000;
inline constexpr int kLastMenuCommand = 57599;

constexpr int menu_command_identifier(MenuItem item) noexcept {
    return kFirstMenuCommand + static_cast<int>(item);
}

// The item that a WM_COMMAND identifier selects, if it is a menu command of
// the definition.
constexpr std::optional<MenuItem> menu_item_for_command(int identifier) noexcept {
    if (identifier < kFirstMenuCommand || identifier > kLastMenuCommand)
        return std::nullopt;
    const int index = identifier - kFirstMenuCommand;
    if (index >= static_cast<int>(kMenuDefinition.size()))
        return std::nullopt;
    return static_cast<MenuItem>(index);
}

}  // namespace tolvane
