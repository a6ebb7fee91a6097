// The skin's drawing of a taken control: every redraw is composed off
// screen in a bitmap of the control's size and copied with one BitBlt.
#pragma once

#include <windows.h>

#include "style/skinned_control.h"

namespace tolvane {

// The painters take a copy of the control's record: the parent that is
// asked for the colours could, in principle, destroy the control.

// Push buttons, check boxes, radio buttons and group boxes, drawn whole
// into `target` (a DC of the control's client area).
void paint_button_control(SkinnedControl control, int scheme, HDC target);
// The same at once, outside a paint request, into the control's own
// visible area (the button class takes its parent's clipping otherwise).
void paint_button_now(SkinnedControl control, int scheme);

// The frame rings of an edit box or a combo list, drawn into its window DC
// (`window_dc`, or one of its own when null); its inside is left alone.
void paint_nonclient_frame(SkinnedControl control, int scheme, HDC window_dc);
// The control's own non-client drawing (its scroll bars) for WM_NCPAINT's
// `update` region (1 for all of it), less the frame rings the skin draws.
void paint_nonclient_inside(const SkinnedControl& control, int thickness, WPARAM update);
// The width of the frame around a control's client area, 0 without one.
int nonclient_frame_thickness(HWND window);

// Combo boxes and up-down controls: their own drawing, made off screen,
// with the skin's frame on top.
void paint_composed_control(SkinnedControl control, int scheme, HDC target);

}  // namespace tolvane
