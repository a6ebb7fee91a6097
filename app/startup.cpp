#include "app/startup.h"

#include "app/control_access.h"
#include "app/main_window.h"
#include "dialup/connection_commands.h"
#include "settings/ini_file.h"
#include "shell/hot_key.h"
#include "shell/tray_icon.h"
#include "style/visual_style.h"

namespace tolvane {
namespace {

constexpr int kHotKeyModifiers = 0;  // F8 alone
constexpr UINT kHotKeyVirtualKey = VK_F8;
constexpr int kVisualStyleScheme = 2;

Text read_setting(const char* key) {
    return read_ini_text(kSettingsFile, kSettingsSection, key, nullptr);
}

}  // namespace

void handle_window_created() {
    HWND main = control_window_handle(Control::main_window);
    HWND hot_key_receiver = control_window_handle(Control::标签6);

    register_hot_key(main, hot_key_receiver, kHotKeyModifiers, kHotKeyVirtualKey);
    set_visual_style(kVisualStyleScheme);
    // Added before the window is first shown.
    set_tray_icon(program_tray_icon_block(), kMainWindowCaption);

    // Account and password fill the boxes whatever "保存" holds.
    set_control_text(Control::编辑框2, read_setting(kAccountKey).get());
    set_control_text(Control::编辑框3, read_setting(kPasswordKey).get());

    if (is_switch_on(read_setting(kRememberKey).get())) {
        set_control_checked(Control::选择框1, true);
        set_control_disabled(Control::编辑框2, true);
        set_control_disabled(Control::编辑框3, true);
    }
    if (is_switch_on(read_setting(kAutoConnectKey).get())) {
        set_control_checked(Control::选择框2, true);
    }

    // The box, not the setting, decides; nobody can have changed it yet.
    if (!show_connection_state() && is_control_checked(Control::选择框2)) {
        dial_with_typed_credentials();
    }
}

}  // namespace tolvane
