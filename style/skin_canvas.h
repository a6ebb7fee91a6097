// A view of 32-bit top-down pixels (the layout of a DIB section) on which
// the skin draws its shapes with its own arithmetic. Pure: a test can draw
// into a plain buffer.
#pragma once

#include <cstdint>

#include "style/skin_colour.h"

namespace tolvane {

// Left and top inside, right and bottom outside.
struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr PixelRect inset(int by) const {
        return {left + by, top + by, right - by, bottom - by};
    }
};

inline constexpr Colour kNoPixel = 0xFFFFFFFF;

class Canvas {
  public:
    // `pixels` holds width × height values, rows from the top, each pixel
    // 0x00RRGGBB as a DIB stores it.
    Canvas(std::uint32_t* pixels, int width, int height) noexcept
        : pixels_(pixels), width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    PixelRect bounds() const { return {0, 0, width_, height_}; }

    // Drawing outside the canvas does nothing; reading outside gives
    // kNoPixel.
    Colour pixel(int x, int y) const;
    void set(int x, int y, Colour colour);
    // `alpha` of 256 covers the pixel, 0 leaves it.
    void blend(int x, int y, Colour colour, int alpha);
    void fill(const PixelRect& rect, Colour colour);
    // The gradient spans the rectangle.
    void fill_gradient(const PixelRect& rect, const Corners& corners);
    // A ring `thickness` pixels wide just inside the rectangle, coloured
    // from a gradient that spans the whole rectangle.
    void ring(const PixelRect& rect, int thickness, const Corners& corners);
    void ring(const PixelRect& rect, Colour colour) { ring(rect, 1, flat_colour(colour)); }
    // Every other pixel of the rectangle's one-pixel ring, in a
    // checkerboard that starts with its top left corner.
    void dotted_ring(const PixelRect& rect, Colour colour);
    void horizontal_line(int left, int right, int y, Colour colour);

  private:
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    std::uint32_t* pixels_;
    int width_;
    int height_;
};

}  // namespace tolvane
