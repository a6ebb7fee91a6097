// The tray menu: the sub-items of "托盘菜单" in the main window's menu
// definition.
#pragma once

#include <cstddef>

#include "app/menu_definition.h"

namespace tolvane {

// Calls `append(index)` for each sub-item of "托盘菜单", in definition
// order; the command identifier of an item is 20000 plus its index.
template <typename Append>
void for_each_tray_menu_item(Append&& append) {
    const auto parent = static_cast<std::size_t>(MenuItem::托盘菜单);
    bool inside = false;
    for (std::size_t i = 0; i < kMenuDefinition.size(); ++i) {
        if (kMenuDefinition[i].level == 0) {
            inside = i == parent;
        } else if (inside) {
            append(i);
        }
    }
}

}  // namespace tolvane
