#include "shell/tray_icon.h"

namespace tolvane {

void remove_tray_icon() {}

}  // namespace tolvane
