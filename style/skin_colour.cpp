#include "style/skin_colour.h"

#include <algorithm>

namespace tolvane {
namespace {

int rounded_quotient(long long numerator, long long denominator) {
    // Both positive here.
    return static_cast<int>((numerator + denominator / 2) / denominator);
}

}  // namespace

Colour mix_colours(Colour a, Colour b, int part, int whole) {
    if (whole <= 0)
        return a;
    part = std::clamp(part, 0, whole);
    auto channel = [&](int from, int to) {
        return rounded_quotient(
            static_cast<long long>(from) * (whole - part) + static_cast<long long>(to) * part,
            whole);
    };
    return make_colour(channel(red_of(a), red_of(b)), channel(green_of(a), green_of(b)),
                       channel(blue_of(a), blue_of(b)));
}

Colour corner_gradient_at(const Corners& corners, int x, int y, int width, int height) {
    const long long w = std::max(width - 1, 0);
    const long long h = std::max(height - 1, 0);
    const long long cx = std::clamp<long long>(x, 0, w);
    const long long cy = std::clamp<long long>(y, 0, h);
    // Weights of the four corners, scaled by w * h (or by 1 where an edge
    // is a single pixel).
    const long long sw = w == 0 ? 1 : w;
    const long long sh = h == 0 ? 1 : h;
    const long long right = w == 0 ? 0 : cx;
    const long long left = sw - right;
    const long long bottom = h == 0 ? 0 : cy;
    const long long top = sh - bottom;
    const long long total = sw * sh;
    auto channel = [&](int (*of)(Colour)) {
        const long long sum =
            of(corners.top_left) * left * top + of(corners.top_right) * right * top +
            of(corners.bottom_left) * left * bottom + of(corners.bottom_right) * right * bottom;
        return rounded_quotient(sum, total);
    };
    return make_colour(channel(red_of), channel(green_of), channel(blue_of));
}

}  // namespace tolvane
