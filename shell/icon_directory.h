// Choosing the image of the program's icon group that the tray icon is made
// from. Pure byte reading: every count and size is checked against the
// block, so a short or hostile block yields nothing rather than a read past
// its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tolvane {

// The directory entry chosen from an icon group (the RT_GROUP_ICON layout:
// the 6-byte header of an ICO file, then 14-byte entries that name the
// RT_ICON resource holding each image).
struct IconEntry {
    std::size_t entry;      // index of the directory entry
    std::uint16_t icon_id;  // the RT_ICON resource with the image's bytes
};

// The entry for a notification-area icon of `wanted_width` pixels: the
// first directory entry with at least 16 colours and that width byte, else
// the last entry. None when the header or the directory is not sound.
std::optional<IconEntry> choose_icon_entry(const unsigned char* group, std::size_t size,
                                           int wanted_width) noexcept;

// What CreateIconFromResourceEx needs to know of an image, from the image's
// own header.
struct IconImageHeader {
    int width;
    int height;     // the picture's height (a DIB header counts colour and mask rows)
    int bit_count;  // bits per pixel of a DIB; 0 for a PNG image
};

// None when the image is too short for its header or the header is not
// plausible.
std::optional<IconImageHeader> read_icon_image_header(const unsigned char* image,
                                                      std::size_t size) noexcept;

}  // namespace tolvane
