// How each kind of control looks in a scheme, drawn into a canvas. Pure:
// the caller has filled the canvas with the control's background and draws
// the caption itself.
#pragma once

#include "style/caption_layout.h"
#include "style/skin_canvas.h"
#include "style/skin_scheme.h"

namespace tolvane {

// The state of a button-like control as the skin follows it.
struct ButtonLook {
    bool hot = false;
    bool pressed = false;
    bool focused = false;
    bool is_default = false;
    bool disabled = false;
    int check = 0;  // 0 unticked, 1 ticked, 2 indeterminate
};

// Push buttons: a rounded border one pixel in from the edge, a two-pixel
// ring inside it and the face within.
void draw_push_button(Canvas& canvas, const SchemeColours& scheme, Colour button_face,
                      const ButtonLook& look);
Colour push_caption_colour(const SchemeColours& scheme, const ButtonLook& look);
// The area the caption is laid out in; a pressed button's caption moves
// one pixel right and down.
PixelRect push_caption_area(int width, int height, const ButtonLook& look);
constexpr PixelRect push_focus_rect(int width, int height) {
    return {3, 3, width - 3, height - 3};
}

// Check boxes and radio buttons: a 13 × 13 box at the left, the caption
// from 18 pixels on.
inline constexpr int kBoxSize = 13;
inline constexpr int kBoxCaptionLeft = 18;
int box_top(int height, VerticalPlace place);
void draw_check_box(Canvas& canvas, const SchemeColours& scheme, Colour button_face,
                    const ButtonLook& look, int left, int top);
void draw_radio_button(Canvas& canvas, const SchemeColours& scheme, Colour button_face,
                       const ButtonLook& look, int left, int top);
// The caption colour of a check box, radio button or group box: the
// parent's text colour, or the scheme's disabled caption colour.
Colour box_caption_colour(const SchemeColours& scheme, const ButtonLook& look, Colour parent_text);

// A group box frame whose top edge runs at `frame_top` and leaves a gap
// for the caption from `gap_left` to `gap_right`.
void draw_group_frame(Canvas& canvas, const SchemeColours& scheme, Colour button_face,
                      bool disabled, int frame_top, int gap_left, int gap_right);

// Dots 3 pixels inside a push button, or around a box's caption.
void draw_focus_dots(Canvas& canvas, const SchemeColours& scheme, const PixelRect& rect);

// The rings of an edit box frame (also of combo boxes and their lists).
struct FrameColours {
    Colour outer;
    Colour inner;
};
// Disabled or read-only boxes show a grey outer ring and a button-face
// inner ring.
FrameColours edit_frame_colours(const SchemeColours& scheme, Colour button_face,
                                Colour window_colour, bool inactive);
// The outer ring at the canvas edge, the inner colour in the
// `thickness - 1` rings inside it.
void draw_frame_rings(Canvas& canvas, const FrameColours& colours, int thickness);

}  // namespace tolvane
