#include "settings/save_command.h"

namespace tolvane {

// Not yet built.
void handle_save_clicked() {}
Text startup_folder_path() {
    return Text();
}
Text with_trailing_backslash(const char* path) {
    return Text::copy_of(path);
}
bool create_shortcut(const char*, const char*, const char*) {
    return false;
}

}  // namespace tolvane
