#include "style/skin_look.h"

#include <algorithm>

namespace tolvane {
namespace {

// Share of the border's colour in the corner pixels that round a border.
constexpr int kOuterCornerAlpha = 88;
constexpr int kInnerCornerAlpha = 150;

// A one-pixel border whose corner pixels keep most of what was under them,
// so that the corners look rounded.
void rounded_border(Canvas& canvas, const PixelRect& rect, Colour colour) {
    if (rect.width() < 3 || rect.height() < 3) {
        canvas.ring(rect, colour);
        return;
    }
    const int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
    canvas.horizontal_line(l + 1, r, t, colour);
    canvas.horizontal_line(l + 1, r, b, colour);
    canvas.fill({l, t + 1, l + 1, b}, colour);
    canvas.fill({r, t + 1, r + 1, b}, colour);
    for (auto [x, y] : {std::pair{l, t}, std::pair{r, t}, std::pair{l, b}, std::pair{r, b}}) {
        canvas.blend(x, y, colour, kOuterCornerAlpha);
    }
}

// The pixels diagonally inside a rounded border's corners take some of the
// border's colour.
void soften_inner_corners(Canvas& canvas, const PixelRect& rect, Colour colour) {
    if (rect.width() < 2 || rect.height() < 2)
        return;
    const int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
    for (auto [x, y] : {std::pair{l, t}, std::pair{r, t}, std::pair{l, b}, std::pair{r, b}}) {
        canvas.blend(x, y, colour, kInnerCornerAlpha);
    }
}

// The seven 3-pixel strokes of the tick, one per column of the inner 7 × 7
// square: the top row of each.
constexpr int kTickTop[7] = {2, 3, 4, 3, 2, 1, 0};

Corners box_face_corners(const SchemeColours& scheme, const ButtonLook& look) {
    if (look.disabled)
        return flat_colour(scheme.box_face_disabled);
    if (look.pressed)
        return scheme.box_face_pressed;
    if (look.hot)
        return scheme.box_face_hot;
    return scheme.box_face;
}

Colour box_border_colour(const SchemeColours& scheme, Colour button_face, bool disabled) {
    return disabled ? less_0x202020(button_face) : scheme.box_border;
}

}  // namespace

void draw_push_button(Canvas& canvas, const SchemeColours& scheme, Colour button_face,
                      const ButtonLook& look) {
    const PixelRect all = canvas.bounds();
    const PixelRect border = all.inset(1);
    const PixelRect ring = all.inset(2);
    const PixelRect face = all.inset(4);

    const Colour border_colour = look.disabled ? less_0x202020(button_face) : scheme.push_border;
    Corners ring_colours = scheme.push_ring;
    Corners face_colours = scheme.push_face;
    if (look.disabled) {
        ring_colours = face_colours = flat_colour(scheme.push_face_disabled);
    } else if (look.pressed) {
        ring_colours = face_colours = flat_colour(scheme.push_pressed);
    } else if (look.check != 0) {
        ring_colours = scheme.push_ring_checked;
        face_colours = flat_colour(scheme.push_face_checked);
    } else if (look.hot || look.focused || look.is_default) {
        ring_colours = scheme.push_ring_hot;
    }

    rounded_border(canvas, border, border_colour);
    canvas.ring(ring, 2, ring_colours);
    canvas.fill_gradient(face, face_colours);
    soften_inner_corners(canvas, ring, border_colour);
}

Colour push_caption_colour(const SchemeColours& scheme, const ButtonLook& look) {
    return look.disabled ? scheme.disabled_caption : scheme.push_caption;
}

PixelRect push_caption_area(int width, int height, const ButtonLook& look) {
    PixelRect area{4, 4, width - 4, height - 4};
    if (look.pressed && !look.disabled) {
        area.left += 1;
        area.top += 1;
        area.right += 1;
        area.bottom += 1;
    }
    return area;
}

int box_top(int height, VerticalPlace place) {
    switch (place) {
        case VerticalPlace::top:
            return 0;
        case VerticalPlace::bottom:
            return height - kBoxSize;
        case VerticalPlace::middle:
        default:
            return (height - kBoxSize) / 2;
    }
}

void draw_check_box(Canvas& canvas, const SchemeColours& scheme, Colour button_face,
                    const ButtonLook& look, int left, int top) {
    const PixelRect box{left, top, left + kBoxSize, top + kBoxSize};
    canvas.ring(box, box_border_colour(scheme, button_face, look.disabled));
    canvas.fill_gradient(box.inset(1), box_face_corners(scheme, look));

    const PixelRect inner = box.inset(3);
    if (look.hot && !look.pressed && !look.disabled) {
        // The face's hot colours then show as a ring around it.
        canvas.fill(inner, look.check ? scheme.box_hot_inner_ticked : scheme.box_hot_inner);
    }
    const Colour tick = look.disabled ? scheme.tick_disabled : scheme.tick;
    if (look.check == 1) {
        for (int column = 0; column < 7; ++column) {
            const int y = inner.top + kTickTop[column];
            canvas.fill({inner.left + column, y, inner.left + column + 1, y + 3}, tick);
        }
    } else if (look.check == 2) {
        canvas.fill(inner.inset(1), tick);
    }
}

void draw_radio_button(Canvas& canvas, const SchemeColours& scheme, Colour button_face,
                       const ButtonLook& look, int left, int top) {
    const Colour border = box_border_colour(scheme, button_face, look.disabled);
    const Corners face = box_face_corners(scheme, look);
    const bool hot_inner = look.hot && !look.pressed && !look.disabled;
    const Colour tick = look.disabled ? scheme.tick_disabled : scheme.tick;
    // Squared distances from the centre in half pixels: radius 6.5 outside,
    // 5.5 inside the border, 3.5 for the hot inner disc, 2.5 for the dot.
    for (int y = 0; y < kBoxSize; ++y) {
        for (int x = 0; x < kBoxSize; ++x) {
            const int dx = 2 * x - (kBoxSize - 1);
            const int dy = 2 * y - (kBoxSize - 1);
            const int d = dx * dx + dy * dy;
            if (d >= 169)
                continue;
            Colour c = border;
            if (d < 121) {
                c = corner_gradient_at(face, x - 1, y - 1, kBoxSize - 2, kBoxSize - 2);
                if (hot_inner && d < 49)
                    c = look.check ? scheme.box_hot_inner_ticked : scheme.box_hot_inner;
                if (look.check && d < 25)
                    c = tick;
            }
            canvas.set(left + x, top + y, c);
        }
    }
}

Colour box_caption_colour(const SchemeColours& scheme, const ButtonLook& look, Colour parent_text) {
    return look.disabled ? scheme.disabled_caption : parent_text;
}

void draw_group_frame(Canvas& canvas, const SchemeColours& scheme, Colour button_face,
                      bool disabled, int frame_top, int gap_left, int gap_right) {
    const Colour colour = box_border_colour(scheme, button_face, disabled);
    const PixelRect frame{0, frame_top, canvas.width(), canvas.height()};
    if (frame.width() < 3 || frame.height() < 3)
        return;
    const int l = frame.left, t = frame.top, r = frame.right - 1, b = frame.bottom - 1;
    canvas.horizontal_line(l + 1, std::max(l + 1, std::min(gap_left, r)), t, colour);
    canvas.horizontal_line(std::min(r, std::max(gap_right, l + 1)), r, t, colour);
    canvas.horizontal_line(l + 1, r, b, colour);
    canvas.fill({l, t + 1, l + 1, b}, colour);
    canvas.fill({r, t + 1, r + 1, b}, colour);
    for (auto [x, y] : {std::pair{l, t}, std::pair{r, t}, std::pair{l, b}, std::pair{r, b}}) {
        canvas.blend(x, y, colour, kOuterCornerAlpha);
    }
}

void draw_focus_dots(Canvas& canvas, const SchemeColours& scheme, const PixelRect& rect) {
    canvas.dotted_ring(rect, scheme.focus_dots);
}

FrameColours edit_frame_colours(const SchemeColours& scheme, Colour button_face,
                                Colour window_colour, bool inactive) {
    if (inactive)
        return {less_0x202020(button_face), button_face};
    return {scheme.edit_frame, window_colour};
}

void draw_frame_rings(Canvas& canvas, const FrameColours& colours, int thickness) {
    if (thickness <= 0)
        return;
    const PixelRect all = canvas.bounds();
    canvas.ring(all, colours.outer);
    canvas.ring(all.inset(1), thickness - 1, flat_colour(colours.inner));
}

}  // namespace tolvane
