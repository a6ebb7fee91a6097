#include "app/event_table.h"

namespace tolvane {

// clang-format off
const EventTable kEventTable = {
    /* window_created     */ nullptr,
    /* window_moved       */ nullptr,
    /* tray_notification  */ nullptr,
    /* clicks */ {{
        {Control::按钮2, nullptr},
        {Control::按钮3, nullptr},
        {Control::按钮5, nullptr},
        {Control::按钮1, nullptr},
    }},
    /* label_notification */ {Control::标签6, nullptr},
    /* menu_selections */ {{
        {MenuItem::显示, nullptr},
        {MenuItem::隐藏, nullptr},
        {MenuItem::关闭, nullptr},
    }},
};
// clang-format on

void raise_window_created() {
    if (kEventTable.window_created)
        kEventTable.window_created();
}

void raise_window_moved() {
    if (kEventTable.window_moved)
        kEventTable.window_moved();
}

void raise_tray_notification(int code) {
    if (kEventTable.tray_notification)
        kEventTable.tray_notification(code);
}

void raise_control_clicked(Control control) {
    for (const auto& click : kEventTable.clicks) {
        if (click.control == control && click.handler)
            click.handler();
    }
}

void raise_label_notification(Control control, int wparam, int lparam) {
    const auto& binding = kEventTable.label_notification;
    if (binding.control == control && binding.handler)
        binding.handler(wparam, lparam);
}

void raise_menu_selected(MenuItem item) {
    for (const auto& selection : kEventTable.menu_selections) {
        if (selection.item == item && selection.handler)
            selection.handler();
    }
}

}  // namespace tolvane
