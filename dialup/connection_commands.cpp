#include "dialup/connection_commands.h"

#include "app/control_access.h"
#include "dialup/dial_manager.h"

namespace tolvane {
namespace {

constexpr char kFirstPhonebookEntry[] = "@";

}  // namespace

void dial_with_typed_credentials() {
    Text account = get_control_text(Control::编辑框2);
    Text password = get_control_text(Control::编辑框3);
    dial(kFirstPhonebookEntry, account.c_str(), password.c_str(), false, Control::标签1);
    account = Text();
    wipe_text(password);
}

bool show_connection_state() {
    const bool online = is_online();
    set_control_text(Control::标签1, online ? kConnectedText : kDisconnectedText);
    return online;
}

void handle_connect_clicked() {
    if (is_online()) {
        set_control_text(Control::标签1, kConnectedText);
        return;
    }
    dial_with_typed_credentials();
}

void handle_hang_up_clicked() {
    hang_up_all();
    set_control_text(Control::标签1, kDisconnectedText);
}

}  // namespace tolvane
