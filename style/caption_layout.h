// Lays out the caption of a button or check box: prefix characters, line
// breaks, wrapping and placement. Pure: character widths come from the
// caller, so it needs no device context.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "app/growable_array.h"

namespace tolvane {

enum class HorizontalPlace { left, centre, right };
enum class VerticalPlace { top, middle, bottom };

struct CaptionPlacement {
    HorizontalPlace horizontal;
    VerticalPlace vertical;
};

// Code page 936: a lead byte 0x81-0xFE followed by a trail byte 0x40-0xFE
// (but 0x7F) is one character.
constexpr bool is_lead_byte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
constexpr bool is_trail_byte(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}
// The length in bytes (1 or 2) of the character at `at`; 0 at the end.
std::size_t character_length(std::string_view text, std::size_t at);

// Pixel width of one character of one or two bytes, measured with what the
// caller passes as `context` (a device context, say).
using CharacterWidth = int (*)(void* context, const char* character, std::size_t length);

struct CaptionLine {
    std::size_t begin;   // into CaptionLayout::text()
    std::size_t length;  // bytes, line break excluded
    int x;               // from the left of the caption area
    int y;               // from its top
    int width;
};

struct CaptionMnemonic {
    std::size_t line;
    int x;  // from the left of the caption area
    int width;
};

struct CaptionLayout {
    GrowableArray<char> characters;  // the caption without its prefix characters
    GrowableArray<CaptionLine> lines;
    std::optional<CaptionMnemonic> mnemonic;
    int line_height = 0;

    std::string_view text() const { return {characters.data(), characters.size()}; }

    // The smallest rectangle around all lines, in caption-area coordinates
    // (left, top, right, bottom); all zero without lines.
    struct Bounds {
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    Bounds bounds() const;
};

// `width` × `height` is the caption area. A line ends at CR LF (or a lone CR
// or LF) and wraps before the character that would make it wider than the
// area; a line holds at least one character, and a double-byte character
// is never split. The first "&" that is not doubled marks the character
// after it as the mnemonic; "&&" shows one "&"; other single "&" are
// dropped. Each line is placed horizontally on its own, the block of lines
// vertically.
CaptionLayout lay_out_caption(std::string_view caption, int width, int height, int line_height,
                              CaptionPlacement placement, CharacterWidth character_width,
                              void* context);

}  // namespace tolvane
