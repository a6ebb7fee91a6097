#include "style/caption_layout.h"

#include <algorithm>

namespace tolvane {
namespace {

constexpr std::size_t kNoMnemonic = static_cast<std::size_t>(-1);

struct Stripped {
    GrowableArray<char> text;
    std::size_t mnemonic = kNoMnemonic;  // byte index into text
};

bool is_line_break(char c) {
    return c == '\r' || c == '\n';
}

// Takes the prefix characters out; walks by characters so that a trail
// byte is never read as "&" (trail bytes are never 0x26 in code page 936,
// but the walk does not rely on it).
Stripped strip_prefixes(std::string_view caption) {
    Stripped out;
    out.text.reserve(caption.size());
    std::size_t i = 0;
    while (i < caption.size()) {
        if (caption[i] != '&') {
            const std::size_t n = character_length(caption, i);
            for (std::size_t k = 0; k < n; ++k)
                out.text.push_back(caption[i + k]);
            i += n;
            continue;
        }
        if (i + 1 < caption.size() && caption[i + 1] == '&') {
            out.text.push_back('&');
            i += 2;
            continue;
        }
        // A single "&": the first one before a character marks it.
        if (out.mnemonic == kNoMnemonic && i + 1 < caption.size() &&
            !is_line_break(caption[i + 1])) {
            out.mnemonic = out.text.size();
        }
        i += 1;
    }
    return out;
}

int place(HorizontalPlace where, int area, int extent) {
    switch (where) {
        case HorizontalPlace::left:
            return 0;
        case HorizontalPlace::right:
            return area - extent;
        case HorizontalPlace::centre:
        default:
            return (area - extent) / 2;
    }
}

int place(VerticalPlace where, int area, int extent) {
    switch (where) {
        case VerticalPlace::top:
            return 0;
        case VerticalPlace::bottom:
            return area - extent;
        case VerticalPlace::middle:
        default:
            return (area - extent) / 2;
    }
}

}  // namespace

std::size_t character_length(std::string_view text, std::size_t at) {
    if (at >= text.size())
        return 0;
    if (is_lead_byte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() &&
        is_trail_byte(static_cast<unsigned char>(text[at + 1]))) {
        return 2;
    }
    return 1;
}

CaptionLayout::Bounds CaptionLayout::bounds() const {
    Bounds b;
    if (lines.empty())
        return b;
    b.left = lines.front().x;
    b.right = lines.front().x + lines.front().width;
    for (const CaptionLine& line : lines) {
        b.left = std::min(b.left, line.x);
        b.right = std::max(b.right, line.x + line.width);
    }
    b.top = lines.front().y;
    b.bottom = lines.back().y + line_height;
    return b;
}

CaptionLayout lay_out_caption(std::string_view caption, int width, int height, int line_height,
                              CaptionPlacement placement, CharacterWidth character_width,
                              void* context) {
    Stripped stripped = strip_prefixes(caption);
    CaptionLayout layout;
    layout.characters = std::move(stripped.text);
    layout.line_height = line_height;
    const std::string_view text = layout.text();
    if (text.empty())
        return layout;

    CaptionLine line{0, 0, 0, 0, 0};
    auto end_line = [&](std::size_t next_begin) {
        layout.lines.push_back(line);
        line = CaptionLine{next_begin, 0, 0, 0, 0};
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            end_line(i + 2);
            i += 2;
            continue;
        }
        if (is_line_break(text[i])) {
            end_line(i + 1);
            i += 1;
            continue;
        }
        const std::size_t n = character_length(text, i);
        const int w = std::max(character_width(context, text.data() + i, n), 0);
        if (line.length > 0 && line.width + w > width)
            end_line(i);
        // Taking the "&" out can join a lone lead byte with the character
        // after it; the mnemonic is then the joined character.
        if (stripped.mnemonic >= i && stripped.mnemonic < i + n) {
            layout.mnemonic = CaptionMnemonic{layout.lines.size(), line.width, w};
        }
        line.length += n;
        line.width += w;
        i += n;
    }
    layout.lines.push_back(line);

    const int block_height = static_cast<int>(layout.lines.size()) * line_height;
    const int top = place(placement.vertical, height, block_height);
    for (std::size_t k = 0; k < layout.lines.size(); ++k) {
        CaptionLine& l = layout.lines[k];
        l.x = place(placement.horizontal, width, l.width);
        l.y = top + static_cast<int>(k) * line_height;
    }
    if (layout.mnemonic) {
        layout.mnemonic->x += layout.lines[layout.mnemonic->line].x;
    }
    return layout;
}

}  // namespace tolvane
