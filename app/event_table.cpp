#include "app/event_table.h"

#include "app/startup.h"
#include "dialup/connection_commands.h"
#include "settings/save_command.h"
#include "shell/hot_key.h"
#include "shell/tray_icon.h"
#include "shell/web_page.h"
#include "shell/window_display.h"

namespace tolvane {

// clang-format off
const EventTable kEventTable = {
    /* window_created     */ handle_window_created,
    /* window_moved       */ handle_window_moved,
    /* tray_notification  */ handle_tray_notification,
    /* taskbar_created    */ handle_taskbar_created,
    /* timers */ {{
        {kTrayRetryTimer, handle_tray_retry_timer},
    }},
    /* clicks */ {{
        {Control::按钮2, handle_connect_clicked},
        {Control::按钮3, handle_hang_up_clicked},
        {Control::按钮5, handle_save_clicked},
        {Control::按钮1, handle_open_page_clicked},
    }},
    /* label_notification */ {Control::标签6, handle_hot_key_notification},
    /* menu_selections */ {{
        {MenuItem::显示, handle_show_item},
        {MenuItem::隐藏, handle_hide_item},
        {MenuItem::关闭, handle_close_item},
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

void raise_taskbar_created() {
    if (kEventTable.taskbar_created)
        kEventTable.taskbar_created();
}

void raise_timer(UINT_PTR identifier) {
    for (const auto& timer : kEventTable.timers) {
        if (timer.identifier == identifier && timer.handler)
            timer.handler();
    }
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
