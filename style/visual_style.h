// The control skin: push buttons, check boxes and edit-box frames of the
// user-interface thread drawn in the program's own look.
#pragma once

namespace tolvane {

// 1 to 3 switch a colour scheme on (returns 1); any other value switches
// the skin off (returns 0). A skin that is on is switched off first.
int set_visual_style(int scheme);

}  // namespace tolvane
