// Choosing the image of an ICO file that the tray icon is made from. Pure
// byte reading: every offset and size is checked against the block, so a
// short or hostile block yields no image rather than a read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tolvane {

// One image of the file, as CreateIconFromResourceEx wants it described.
struct IconImage {
    std::size_t offset;  // of the image's bytes in the block
    std::size_t size;    // number of the image's bytes
    int width;           // from the image's own header
    int height;          // the picture's height (a DIB header counts colour and mask rows)
    int bit_count;       // bits per pixel of a DIB; 0 for a PNG image
    std::size_t entry;   // index of the directory entry it came from
};

// The image for a notification-area icon of `wanted_width` pixels: the first
// directory entry with at least 16 colours and that width byte, else the last
// entry. None when the header, the directory or the image is not sound.
std::optional<IconImage> choose_icon_image(const unsigned char* block, std::size_t size,
                                           int wanted_width) noexcept;

}  // namespace tolvane
