// Which image of an icon group the tray icon is made from, and that a short
// or hostile group or image gives none.
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
    std::uint16_t icon_id;
};

// An icon group of the entries, as the resource compiler writes it.
Bytes group(const std::vector<Entry>& entries, std::uint32_t reserved = 0, std::uint32_t type = 1) {
    Bytes b(6 + 14 * entries.size(), 0);
    put16(b, 0, reserved);
    put16(b, 2, type);
    put16(b, 4, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = 6 + 14 * i;
        b[at] = static_cast<unsigned char>(entries[i].width_byte);
        b[at + 1] = static_cast<unsigned char>(entries[i].width_byte);
        b[at + 2] = static_cast<unsigned char>(entries[i].colours);
        put16(b, at + 4, 1);
        put16(b, at + 6, 32);
        put32(b, at + 8, 48);
        put16(b, at + 12, entries[i].icon_id);
    }
    return b;
}

std::optional<IconEntry> choose(const Bytes& b, int wanted = 16) {
    return choose_icon_entry(b.data(), b.size(), wanted);
}

std::optional<IconImageHeader> header_of(const Bytes& image) {
    return read_icon_image_header(image.data(), image.size());
}

TEST(IconDirectory, TakesTheSixteenPixelImageOfTheProgramsOwnIcon) {
    const ByteBlock block = program_tray_icon_block();
    ASSERT_EQ(block.size, 6u + 5u * 14u);
    for (int wanted : {16, 32}) {
        SCOPED_TRACE(wanted);
        // Every image has a colour count of 0, so the last entry is taken.
        const auto entry = choose_icon_entry(block.data, block.size, wanted);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->entry, 4u);
        const ByteBlock image = program_icon_image(entry->icon_id);
        EXPECT_EQ(image.size, 1128u);
        const auto header = read_icon_image_header(image.data, image.size);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->width, 16);
        EXPECT_EQ(header->height, 16);
        EXPECT_EQ(header->bit_count, 32);
    }
    // The other four images are the larger sizes, largest first.
    const int sides[] = {128, 64, 48, 32};
    for (std::size_t i = 0; i < 4; ++i) {
        const unsigned char* entry = block.data + 6 + 14 * i;
        const ByteBlock image = program_icon_image(entry[12] | (entry[13] << 8));
        const auto header = read_icon_image_header(image.data, image.size);
        ASSERT_TRUE(header) << i;
        EXPECT_EQ(header->width, sides[i]);
        EXPECT_EQ(header->height, sides[i]);
    }
    EXPECT_EQ(program_icon_image(0).data, nullptr);
    EXPECT_EQ(program_icon_image(999).size, 0u);
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
            // The identifier says which entry was read.
            entries.push_back({width, colours, static_cast<std::uint16_t>(entries.size() + 101)});
        }
        const auto entry = choose(group(entries), c.wanted);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->entry, c.expected);
        EXPECT_EQ(entry->icon_id, c.expected + 101);
    }
    // A cursor group is read alike.
    Bytes cursors = group({{16, 0, 7}});
    put16(cursors, 2, 2);
    ASSERT_TRUE(choose(cursors));
    EXPECT_EQ(choose(cursors)->icon_id, 7u);
}

TEST(IconDirectory, GivesNoEntryForAnUnsoundGroup) {
    const Bytes good = group({{16, 0, 1}});
    ASSERT_TRUE(choose(good));
    struct Case {
        const char* name;
        Bytes block;
    };
    std::vector<Case> cases = {
        {"reserved word not 0", group({{16, 0, 1}}, 1)},
        {"type 0", group({{16, 0, 1}}, 0, 0)},
        {"type 3", group({{16, 0, 1}}, 0, 3)},
        {"no entries", group({})},
        {"shorter than the header", Bytes(good.begin(), good.begin() + 5)},
        {"directory cut short", Bytes(good.begin(), good.end() - 1)},
    };
    Bytes count_too_large = good;
    put16(count_too_large, 4, 2);  // a second entry that is not there
    cases.push_back({"count past the directory", count_too_large});
    Bytes count_huge = good;
    put16(count_huge, 4, 0xFFFF);
    cases.push_back({"count of 65535", count_huge});
    for (const Case& c : cases) {
        EXPECT_FALSE(choose(c.block)) << c.name;
    }
    EXPECT_FALSE(choose_icon_entry(nullptr, 100, 16));
}

TEST(IconDirectory, ReadsThePictureSizeFromTheImagesOwnHeader) {
    const auto dib = header_of(dib_image(32, 24, 4));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->width, 32);
    EXPECT_EQ(dib->height, 24);  // half the header's height
    EXPECT_EQ(dib->bit_count, 4);

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0,  0, 0, 13, 'I', 'H', 'D',
                 'R',  0,   0,   0,   16,   0,    0,    0,    24, 8, 6, 0,  0,   0};
    const auto image = header_of(png);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 24);
    EXPECT_EQ(image->bit_count, 0);

    png.resize(23);  // the header cut short
    EXPECT_FALSE(header_of(png));
}

TEST(IconDirectory, GivesNoHeaderForAnUnsoundImage) {
    struct Case {
        const char* name;
        Bytes image;
    };
    const Case cases[] = {
        {"image of 0 bytes", {}},
        {"image smaller than its header", Bytes(39, 0)},
        {"header size past the image", dib_image(16, 16, 32, 49)},
        {"header size too small", dib_image(16, 16, 32, 12)},
        {"width 0", dib_image(0, 16)},
        {"negative height", dib_image(16, -16)},
        {"height 0", dib_image(16, 0)},
        {"width too large", dib_image(4096, 16)},
        {"height too large", dib_image(16, 257)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(header_of(c.image)) << c.name;
    }
    EXPECT_FALSE(read_icon_image_header(nullptr, 100));
}

TEST(IconDirectory, NoPrefixOfTheProgramsIconGivesAnEntryOrAHeader) {
    // Copies, so that a read past the length is a read past the heap block.
    const ByteBlock block = program_tray_icon_block();
    ASSERT_GT(block.size, 0u);
    for (std::size_t length = 0; length < block.size; ++length) {
        const Bytes prefix(block.data, block.data + length);
        ASSERT_FALSE(choose_icon_entry(prefix.data(), prefix.size(), 16)) << length;
    }
    const auto entry = choose_icon_entry(block.data, block.size, 16);
    ASSERT_TRUE(entry);
    const ByteBlock image = program_icon_image(entry->icon_id);
    for (std::size_t length = 0; length < 40; ++length) {
        const Bytes prefix(image.data, image.data + length);
        ASSERT_FALSE(read_icon_image_header(prefix.data(), prefix.size())) << length;
    }
}

}  // namespace
}  // namespace tolvane
