// The controls the skin has taken: taking them over, following their
// states from their messages and giving them back.
#pragma once

#include <windows.h>

#include <cstddef>

namespace tolvane {

// The scheme the taken controls are drawn in.
void set_skin_scheme(int scheme);
int skin_scheme();

// Takes a window of this thread into the skin when its class and style
// call for it; a window already taken is not taken again. A window offered
// by the creation hook passes its creation record, and its states start
// from its creation style; otherwise they are read from the window.
// Returns whether the window is taken.
bool offer_window(HWND window, const CREATESTRUCTA* being_created);

// Redraws a taken control at once, frame included.
void redraw_control(HWND window);

// Gives every taken control its own drawing back and redraws it.
void release_all_controls();

std::size_t skinned_control_count();
bool is_control_skinned(HWND window);

}  // namespace tolvane
