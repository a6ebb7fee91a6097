// Which image of an ICO block the tray icon is made from, and that a short
// or hostile block gives none.
#include "shell/icon_directory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shell/tray_icon.h"

namespace tolvane {
namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// A DIB image header (and a little pixel data) of the given picture size.
Bytes dib_image(int width, int height, int bit_count = 32, std::uint32_t header_size = 40) {
    Bytes image(48, 0);
    put32(image, 0, header_size);
    put32(image, 4, static_cast<std::uint32_t>(width));
    put32(image, 8, static_cast<std::uint32_t>(height * 2));  // colour and mask rows
    put16(image, 12, 1);
    put16(image, 14, static_cast<std::uint32_t>(bit_count));
    return image;
}

struct Entry {
    int width_byte;
    int colours;
    Bytes image;
};

// An ICO file of the entries, images after the directory in entry order.
Bytes ico(const std::vector<Entry>& entries, std::uint32_t reserved = 0, std::uint32_t type = 1) {
    Bytes b(6 + 16 * entries.size(), 0);
    put16(b, 0, reserved);
    put16(b, 2, type);
    put16(b, 4, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = 6 + 16 * i;
        b[at] = static_cast<unsigned char>(entries[i].width_byte);
        b[at + 1] = static_cast<unsigned char>(entries[i].width_byte);
        b[at + 2] = static_cast<unsigned char>(entries[i].colours);
        put16(b, at + 4, 1);
        put16(b, at + 6, 32);
        put32(b, at + 8, static_cast<std::uint32_t>(entries[i].image.size()));
        put32(b, at + 12, static_cast<std::uint32_t>(b.size()));
        b.insert(b.end(), entries[i].image.begin(), entries[i].image.end());
    }
    return b;
}

std::optional<IconImage> choose(const Bytes& b, int wanted = 16) {
    return choose_icon_image(b.data(), b.size(), wanted);
}

TEST(IconDirectory, TakesTheSixteenPixelImageOfTheProgramsOwnIcon) {
    const ByteBlock block = program_tray_icon_block();
    ASSERT_EQ(block.size, 99678u);
    for (int wanted : {16, 32}) {
        SCOPED_TRACE(wanted);
        // Every image has a colour count of 0, so the last entry is taken.
        const auto image = choose_icon_image(block.data, block.size, wanted);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->entry, 4u);
        EXPECT_EQ(image->offset, 98550u);
        EXPECT_EQ(image->size, 1128u);
        EXPECT_EQ(image->width, 16);
        EXPECT_EQ(image->height, 16);
        EXPECT_EQ(image->bit_count, 32);
    }
}

TEST(IconDirectory, PrefersTheFirstEntryOfTheWidthWithSixteenColoursOrMore) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> entries;  // width byte, colour count
        int wanted;
        std::size_t expected;
    };
    const Case cases[] = {
        {"16 colours", {{16, 0}, {16, 16}, {16, 255}}, 16, 1},
        {"first of two", {{16, 255}, {16, 16}}, 16, 0},
        {"width must match", {{32, 16}, {16, 16}, {48, 16}}, 16, 1},
        {"asked for 32", {{32, 16}, {16, 16}, {48, 16}}, 32, 0},
        {"15 colours is too few: the last", {{16, 15}, {16, 8}, {48, 0}}, 16, 2},
        {"no width matches: the last", {{32, 16}, {48, 16}}, 16, 1},
        {"one entry", {{64, 0}}, 16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Entry> entries;
        for (auto [width, colours] : c.entries) {
            // The picture size says which entry was read.
            entries.push_back({width, colours, dib_image(static_cast<int>(entries.size()) + 1, 7)});
        }
        const auto image = choose(ico(entries), c.wanted);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->entry, c.expected);
        EXPECT_EQ(image->width, static_cast<int>(c.expected) + 1);
        EXPECT_EQ(image->height, 7);
    }
}

TEST(IconDirectory, ReadsTheImageFromTheOffsetAndSizeOfItsEntry) {
    Bytes b = ico({{16, 0, dib_image(16, 16)}, {32, 0, dib_image(32, 32, 4)}});
    const auto image = choose(b);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->offset, 6u + 32u + 48u);
    EXPECT_EQ(image->size, 48u);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);
    EXPECT_EQ(image->bit_count, 4);
    // A cursor file is read alike.
    put16(b, 2, 2);
    EXPECT_TRUE(choose(b));
}

TEST(IconDirectory, TakesThePictureSizeOfAPngImageFromItsHeader) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0,  0, 0, 13, 'I', 'H', 'D',
                 'R',  0,   0,   0,   16,   0,    0,    0,    24, 8, 6, 0,  0,   0};
    const auto image = choose(ico({{0, 0, png}}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 24);
    EXPECT_EQ(image->bit_count, 0);

    png.resize(23);  // the header cut short
    EXPECT_FALSE(choose(ico({{0, 0, png}})));
}

TEST(IconDirectory, GivesNoImageForAnUnsoundBlock) {
    const Bytes good = ico({{16, 0, dib_image(16, 16)}});
    ASSERT_TRUE(choose(good));
    struct Case {
        const char* name;
        Bytes block;
    };
    std::vector<Case> cases = {
        {"reserved word not 0", ico({{16, 0, dib_image(16, 16)}}, 1)},
        {"type 0", ico({{16, 0, dib_image(16, 16)}}, 0, 0)},
        {"type 3", ico({{16, 0, dib_image(16, 16)}}, 0, 3)},
        {"no entries", ico({})},
        {"shorter than the header", Bytes(good.begin(), good.begin() + 5)},
        {"directory cut short", Bytes(good.begin(), good.begin() + 21)},
        {"image cut short", Bytes(good.begin(), good.end() - 1)},
        {"image of 0 bytes", ico({{16, 0, {}}})},
        {"image smaller than its header", ico({{16, 0, Bytes(39, 0)}})},
        {"header size past the image", ico({{16, 0, dib_image(16, 16, 32, 49)}})},
        {"header size too small", ico({{16, 0, dib_image(16, 16, 32, 12)}})},
        {"width 0", ico({{16, 0, dib_image(0, 16)}})},
        {"negative height", ico({{16, 0, dib_image(16, -16)}})},
        {"height 0", ico({{16, 0, dib_image(16, 0)}})},
        {"width too large", ico({{16, 0, dib_image(4096, 16)}})},
    };
    Bytes count_too_large = good;
    put16(count_too_large, 4, 2);  // a second entry that is not there
    cases.push_back({"count past the directory", count_too_large});
    Bytes offset_past_end = good;
    put32(offset_past_end, 6 + 12, static_cast<std::uint32_t>(good.size()) + 1);
    cases.push_back({"offset past the end", offset_past_end});
    Bytes size_past_end = good;
    put32(size_past_end, 6 + 8, 49);
    cases.push_back({"size past the end", size_past_end});
    Bytes wrapping = good;
    put32(wrapping, 6 + 12, 0xFFFFFFF0u);
    put32(wrapping, 6 + 8, 0x20);  // offset + size wraps around to a small number
    cases.push_back({"offset and size wrap around", wrapping});

    for (const Case& c : cases) {
        EXPECT_FALSE(choose(c.block)) << c.name;
    }
    EXPECT_FALSE(choose_icon_image(nullptr, 100, 16));
}

TEST(IconDirectory, NoPrefixOfTheProgramsIconGivesAnImage) {
    // The taken image is the file's last bytes, so every shorter block lacks
    // some of it. Copies, so that a read past the length is a read past the
    // heap block.
    const ByteBlock block = program_tray_icon_block();
    ASSERT_GT(block.size, 0u);
    for (std::size_t length = 0; length < block.size; ++length) {
        if (length > 200 && length < block.size - 200 && length % 97 != 0)
            continue;
        const Bytes prefix(block.data, block.data + length);
        ASSERT_FALSE(choose_icon_image(prefix.data(), prefix.size(), 16)) << length;
    }
}

}  // namespace
}  // namespace tolvane
