#include "shell/hot_key.h"

namespace tolvane {

// Not yet built.
int register_hot_key(HWND, HWND, int, UINT) {
    return 0;
}
bool release_hot_key(HWND, int) {
    return false;
}
void handle_hot_key_notification(int, int) {}

}  // namespace tolvane
