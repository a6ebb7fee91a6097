// The program's icon in the notification area.
#pragma once

namespace tolvane {

// Deletes the icon, if the main window holds one; the last step of the main
// window's WM_DESTROY.
void remove_tray_icon();

}  // namespace tolvane
