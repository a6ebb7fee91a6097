// The program's operator new and delete: blocks of the process heap, and
// the out-of-memory error box instead of an exception when none can be had.
// Replacing them is what the language provides for; the runtime's own would
// bring its whole throwing machinery into the program.
#include <windows.h>

#include <cstddef>
#include <new>

#include "app/fatal_error.h"

namespace {

// operator new must give a distinct block even for 0 bytes.
void* heap_block(std::size_t bytes) noexcept {
    return HeapAlloc(GetProcessHeap(), 0, bytes ? bytes : 1);
}

void* heap_block_or_fatal(std::size_t bytes) noexcept {
    void* block = heap_block(bytes);
    if (block == nullptr)
        tolvane::fatal_out_of_memory(bytes);
    return block;
}

void free_heap_block(void* block) noexcept {
    if (block != nullptr)
        HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

void* operator new(std::size_t bytes) {
    return heap_block_or_fatal(bytes);
}
void* operator new[](std::size_t bytes) {
    return heap_block_or_fatal(bytes);
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return heap_block(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return heap_block(bytes);
}

void operator delete(void* block) noexcept {
    free_heap_block(block);
}
void operator delete[](void* block) noexcept {
    free_heap_block(block);
}
void operator delete(void* block, std::size_t) noexcept {
    free_heap_block(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    free_heap_block(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    free_heap_block(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    free_heap_block(block);
}
