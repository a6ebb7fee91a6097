#include "style/skin_canvas.h"

#include <algorithm>

namespace tolvane {
namespace {

// COLORREF keeps red in the low byte, a DIB keeps blue there.
constexpr std::uint32_t to_dib(Colour c) {
    return static_cast<std::uint32_t>(blue_of(c) | (green_of(c) << 8) | (red_of(c) << 16));
}
constexpr Colour from_dib(std::uint32_t p) {
    return make_colour(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                       static_cast<int>(p & 0xFF));
}

}  // namespace

Colour Canvas::pixel(int x, int y) const {
    if (!inside(x, y))
        return kNoPixel;
    return from_dib(pixels_[static_cast<std::size_t>(y) * width_ + x]);
}

void Canvas::set(int x, int y, Colour colour) {
    if (inside(x, y))
        pixels_[static_cast<std::size_t>(y) * width_ + x] = to_dib(colour);
}

void Canvas::blend(int x, int y, Colour colour, int alpha) {
    if (!inside(x, y))
        return;
    set(x, y, mix_colours(pixel(x, y), colour, std::clamp(alpha, 0, 256), 256));
}

void Canvas::fill(const PixelRect& rect, Colour colour) {
    const int left = std::max(rect.left, 0);
    const int right = std::min(rect.right, width_);
    const int top = std::max(rect.top, 0);
    const int bottom = std::min(rect.bottom, height_);
    const std::uint32_t value = to_dib(colour);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = pixels_ + static_cast<std::size_t>(y) * width_;
        std::fill(row + left, row + std::max(left, right), value);
    }
}

void Canvas::fill_gradient(const PixelRect& rect, const Corners& corners) {
    const bool flat = corners.top_left == corners.top_right &&
                      corners.top_left == corners.bottom_left &&
                      corners.top_left == corners.bottom_right;
    if (flat) {
        fill(rect, corners.top_left);
        return;
    }
    const bool rows_flat =
        corners.top_left == corners.top_right && corners.bottom_left == corners.bottom_right;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, height_); ++y) {
        if (rows_flat) {
            const Colour c =
                corner_gradient_at(corners, 0, y - rect.top, rect.width(), rect.height());
            fill({rect.left, y, rect.right, y + 1}, c);
            continue;
        }
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, width_); ++x) {
            set(x, y,
                corner_gradient_at(corners, x - rect.left, y - rect.top, rect.width(),
                                   rect.height()));
        }
    }
}

void Canvas::ring(const PixelRect& rect, int thickness, const Corners& corners) {
    if (rect.empty() || thickness <= 0)
        return;
    auto at = [&](int x, int y) {
        return corner_gradient_at(corners, x - rect.left, y - rect.top, rect.width(),
                                  rect.height());
    };
    for (int y = rect.top; y < rect.bottom; ++y) {
        const bool band = y < rect.top + thickness || y >= rect.bottom - thickness;
        if (band) {
            for (int x = rect.left; x < rect.right; ++x)
                set(x, y, at(x, y));
            continue;
        }
        for (int i = 0; i < thickness && rect.left + i < rect.right; ++i) {
            set(rect.left + i, y, at(rect.left + i, y));
            set(rect.right - 1 - i, y, at(rect.right - 1 - i, y));
        }
    }
}

void Canvas::dotted_ring(const PixelRect& rect, Colour colour) {
    if (rect.empty())
        return;
    // A checkerboard over the ring, as the system draws focus rectangles.
    auto dot = [&](int x, int y) {
        if ((x - rect.left + y - rect.top) % 2 == 0)
            set(x, y, colour);
    };
    for (int x = rect.left; x < rect.right; ++x) {
        dot(x, rect.top);
        dot(x, rect.bottom - 1);
    }
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
        dot(rect.left, y);
        dot(rect.right - 1, y);
    }
}

void Canvas::horizontal_line(int left, int right, int y, Colour colour) {
    fill({left, y, right, y + 1}, colour);
}

}  // namespace tolvane
