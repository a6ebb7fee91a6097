#include "shell/window_display.h"

namespace tolvane {

// Not yet built.
bool is_main_window_visible() {
    return false;
}
void set_main_window_visible(bool) {}
int main_window_position() {
    return 0;
}
void set_main_window_position(int) {}
void handle_window_moved() {}

}  // namespace tolvane
