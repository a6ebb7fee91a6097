#include "shell/icon_directory.h"

namespace tolvane {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 14;  // GRPICONDIRENTRY
constexpr std::size_t kIconIdOffset = 12;
constexpr std::size_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr int kLargestSide = 256;            // the most a directory entry can describe

std::uint16_t read16(const unsigned char* p) noexcept {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t read32(const unsigned char* p) noexcept {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint32_t read32_big_endian(const unsigned char* p) noexcept {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

bool is_png(const unsigned char* image, std::size_t size) noexcept {
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < sizeof kSignature)
        return false;
    for (std::size_t i = 0; i < sizeof kSignature; ++i) {
        if (image[i] != kSignature[i])
            return false;
    }
    return true;
}

bool plausible_side(std::int64_t side) noexcept {
    return side > 0 && side <= kLargestSide;
}

}  // namespace

std::optional<IconImageHeader> read_icon_image_header(const unsigned char* image,
                                                      std::size_t size) noexcept {
    if (image == nullptr)
        return std::nullopt;
    if (is_png(image, size)) {
        // The signature, then the IHDR chunk: length, type, width, height.
        if (size < 24 || image[12] != 'I' || image[13] != 'H' || image[14] != 'D' ||
            image[15] != 'R') {
            return std::nullopt;
        }
        const std::uint32_t width = read32_big_endian(image + 16);
        const std::uint32_t height = read32_big_endian(image + 20);
        if (!plausible_side(width) || !plausible_side(height))
            return std::nullopt;
        return IconImageHeader{static_cast<int>(width), static_cast<int>(height), 0};
    }
    if (size < kInfoHeaderSize)
        return std::nullopt;
    const std::uint32_t header_size = read32(image);
    if (header_size < kInfoHeaderSize || header_size > size)
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(read32(image + 4));
    // The colour rows and the mask rows, one above the other.
    const auto height = static_cast<std::int32_t>(read32(image + 8)) / 2;
    if (!plausible_side(width) || !plausible_side(height))
        return std::nullopt;
    return IconImageHeader{width, height, read16(image + 14)};
}

std::optional<IconEntry> choose_icon_entry(const unsigned char* group, std::size_t size,
                                           int wanted_width) noexcept {
    if (group == nullptr || size < kHeaderSize)
        return std::nullopt;
    const std::uint16_t reserved = read16(group);
    const std::uint16_t type = read16(group + 2);  // 1 icon, 2 cursor
    const std::uint16_t count = read16(group + 4);
    if (reserved != 0 || (type != 1 && type != 2) || count == 0)
        return std::nullopt;
    if (count > (size - kHeaderSize) / kEntrySize)
        return std::nullopt;  // the directory runs past the block

    std::size_t chosen = count - 1u;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = group + kHeaderSize + i * kEntrySize;
        const int width = entry[0];
        const int colours = entry[2];
        if (colours >= 16 && width == wanted_width) {
            chosen = i;
            break;
        }
    }
    const unsigned char* entry = group + kHeaderSize + chosen * kEntrySize;
    return IconEntry{chosen, read16(entry + kIconIdOffset)};
}

}  // namespace tolvane
