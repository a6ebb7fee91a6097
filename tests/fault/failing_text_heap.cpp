// Linked into a test build of the program in place of the Text allocator:
// every Text block fails, so the first one takes the out-of-memory path.
#include "app/text_heap.h"

namespace tolvane {

void* text_heap_allocate(std::size_t) noexcept {
    return nullptr;
}

}  // namespace tolvane
