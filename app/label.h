// The program's own label class: single-line text over the button face.
#pragma once

#include <windows.h>

namespace tolvane {

inline constexpr char kLabelClassName[] = "TolvaneLabel";

bool register_label_class(HINSTANCE instance);

// The colour the label draws its text in.
void set_label_text_colour(HWND label, COLORREF colour);

}  // namespace tolvane
