// What tests may see of the skin's inner state.
#pragma once

#include <windows.h>

#include <cstddef>

#include "style/skin_control.h"
#include "style/skin_gdi.h"

namespace tolvane {

// Called after the control's own handling of a message whose drawing the
// skin keeps off the screen, before the skin draws the control again: a
// test can look at the screen at that moment. Null for none.
using QuietCallObserver = void (*)(HWND control, UINT message);
void set_quiet_call_observer(QuietCallObserver observer);

}  // namespace tolvane
