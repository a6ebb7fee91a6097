// Colour arithmetic of the skin: pure, so that gradients and the derived
// shades can be checked without a display.
#pragma once

#include <cstdint>

namespace tolvane {

// The layout of a COLORREF: 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour make_colour(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int red_of(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int green_of(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blue_of(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Every channel 0x20 darker, stopping at 0 (the disabled borders).
constexpr Colour less_0x202020(Colour c) {
    auto less = [](int channel) { return channel > 0x20 ? channel - 0x20 : 0; };
    return make_colour(less(red_of(c)), less(green_of(c)), less(blue_of(c)));
}

// a + (b - a) * part / whole in every channel, rounded to the nearest;
// a whole of 0 or less gives a.
Colour mix_colours(Colour a, Colour b, int part, int whole);

// A gradient given by the colours of its four corners.
struct Corners {
    Colour top_left;
    Colour top_right;
    Colour bottom_left;
    Colour bottom_right;
};

// One colour at the top to another at the bottom.
constexpr Corners vertical_gradient(Colour top, Colour bottom) {
    return {top, top, bottom, bottom};
}
constexpr Corners flat_colour(Colour c) {
    return {c, c, c, c};
}

// The colour at (x, y) of a width × height gradient: each corner pixel has
// its corner's colour exactly, the pixels between are interpolated
// bilinearly. Points outside are clamped to the edge.
Colour corner_gradient_at(const Corners& corners, int x, int y, int width, int height);

}  // namespace tolvane
