#include "app/text_heap.h"

#include <windows.h>

namespace tolvane {

void* text_heap_allocate(std::size_t bytes) noexcept {
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}

}  // namespace tolvane
