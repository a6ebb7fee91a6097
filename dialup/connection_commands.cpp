#include "dialup/connection_commands.h"

#include "app/control_access.h"

namespace tolvane {

// Not yet built.
void handle_connect_clicked() {}
void handle_hang_up_clicked() {}
bool show_connection_state() {
    set_control_text(Control::标签1, kDisconnectedText);
    return false;
}
void dial_with_typed_credentials() {}

}  // namespace tolvane
