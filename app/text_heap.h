// The allocation of Text blocks, kept alone in its own object file so that a
// test build can link its own failing version in its place.
#pragma once

#include <cstddef>

namespace tolvane {

// A block of `bytes` bytes from the process heap, or null.
void* text_heap_allocate(std::size_t bytes) noexcept;

}  // namespace tolvane
