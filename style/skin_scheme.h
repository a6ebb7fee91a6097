// The skin's colour schemes 1 to 3. Scheme 2 is the one the program uses;
// 1 and 3 are colour variants of it.
#pragma once

#include "style/skin_colour.h"

namespace tolvane {

struct SchemeColours {
    // Push buttons.
    Colour push_border;
    Corners push_ring;
    Corners push_face;
    Corners push_ring_hot;  // hot, focused or default
    Corners push_ring_checked;
    Colour push_face_checked;
    Colour push_pressed;  // ring and face
    Colour push_face_disabled;
    Colour push_caption;
    Colour disabled_caption;
    Colour focus_dots;
    // Check boxes (and radio buttons).
    Colour box_border;
    Corners box_face;
    Corners box_face_hot;
    Corners box_face_pressed;
    Colour box_face_disabled;
    Colour box_hot_inner;
    Colour box_hot_inner_ticked;
    Colour tick;
    Colour tick_disabled;
    // Frames of edit boxes (and combo boxes).
    Colour edit_frame;
};

inline constexpr int kFirstScheme = 1;
inline constexpr int kLastScheme = 3;

constexpr bool is_scheme(int scheme) {
    return scheme >= kFirstScheme && scheme <= kLastScheme;
}

// The colours of a scheme from 1 to 3; any other number gives scheme 2.
const SchemeColours& scheme_colours(int scheme);

}  // namespace tolvane
