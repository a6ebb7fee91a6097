#include "style/visual_style.h"

namespace tolvane {

// Not yet built: the controls keep the system's drawing.
int set_visual_style(int) {
    return 0;
}

}  // namespace tolvane
