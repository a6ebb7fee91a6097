// Pure pieces of the dial manager: the state texts and the phonebook index.
#pragma once

#include <windows.h>

#include <cstddef>

#include "dialup/ras_records.h"

namespace tolvane {

inline constexpr char kHungUpText[] = "连接被挂断";

// The status text for a state the service reports, or null when the state
// leaves the text as it is.
const char* dial_state_text(RASCONNSTATE state, DWORD error) noexcept;

// The number after "@": leading white space skipped, an optional sign, then
// decimal digits up to the first other byte; no digits give 0. Saturates
// instead of overflowing.
long parse_entry_index(const char* text) noexcept;

// Copies a zero-terminated text into a field of `field_size` bytes. A text
// that does not fit is not copied at all (false).
bool copy_into_field(char* field, std::size_t field_size, const char* text) noexcept;

}  // namespace tolvane
