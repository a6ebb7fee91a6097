// The program's own directory, found in its module path.
#pragma once

#include <cstddef>

#include "app/cp936.h"

namespace tolvane {

inline constexpr std::size_t kNoSeparator = static_cast<std::size_t>(-1);

// The offset of the last backslash of a code page 936 path, read character by
// character so that a trail byte 0x5C of a double-byte character does not
// count; kNoSeparator when there is none.
std::size_t last_path_separator(const char* path) noexcept;

// Makes the directory of the running program's file the current directory.
void enter_program_directory() noexcept;

}  // namespace tolvane
