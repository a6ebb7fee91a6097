// The program's own directory, found in its module path.
#pragma once

#include <cstddef>

namespace tolvane {

inline constexpr std::size_t kNoSeparator = static_cast<std::size_t>(-1);

// Whether b can start a double-byte character of code page 936.
constexpr bool is_cp936_lead_byte(unsigned char b) noexcept {
    return b >= 0x81 && b <= 0xFE;
}

// The offset of the last backslash of a code page 936 path, read character by
// character so that a trail byte 0x5C of a double-byte character does not
// count; kNoSeparator when there is none.
std::size_t last_path_separator(const char* path) noexcept;

// Makes the directory of the running program's file the current directory.
void enter_program_directory() noexcept;

}  // namespace tolvane
