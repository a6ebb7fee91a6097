// Walking code page 936 byte strings character by character.
#pragma once

#include <cstddef>

namespace tolvane {

// Whether b can start a double-byte character of code page 936.
constexpr bool is_cp936_lead_byte(unsigned char b) noexcept {
    return b >= 0x81 && b <= 0xFE;
}

// The first `length` bytes of `text` without a lead byte at the end whose
// trail byte was cut off: the length of the part that ends on a whole
// character.
std::size_t cp936_whole_length(const char* text, std::size_t length) noexcept;

}  // namespace tolvane
