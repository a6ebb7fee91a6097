#include "app/text.h"

#include <windows.h>

#include <cstring>

#include "app/fatal_error.h"
#include "app/text_heap.h"

namespace tolvane {

Text& Text::operator=(Text&& other) noexcept {
    if (this != &other) {
        free_text_block(block_);
        block_ = other.release();
    }
    return *this;
}

Text::~Text() {
    free_text_block(block_);
}

Text Text::copy_of(const char* s) {
    if (s == nullptr || s[0] == '\0')
        return Text();
    const std::size_t length = std::strlen(s);
    Text t = with_length(length);
    std::memcpy(t.block_, s, length + 1);
    return t;
}

Text Text::copy_of(const char* s, std::size_t length) {
    if (s == nullptr || length == 0)
        return Text();
    Text t = with_length(length);
    std::memcpy(t.block_, s, length);
    return t;
}

Text Text::with_length(std::size_t length) {
    char* block = allocate_text_block(length + 1);
    std::memset(block, 0, length + 1);
    return Text(block);
}

std::size_t Text::length() const noexcept {
    return block_ ? std::strlen(block_) : 0;
}

void wipe_text(Text& text) noexcept {
    if (char* p = text.data())
        SecureZeroMemory(p, text.length());
    text = Text();
}

int compare_texts(const char* a, const char* b) noexcept {
    const auto* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const auto* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    while (*x != 0 && *x == *y) {
        ++x;
        ++y;
    }
    return static_cast<int>(*x) - static_cast<int>(*y);
}

Text join_texts(std::initializer_list<const char*> pieces) {
    std::size_t total = 0;
    for (const char* piece : pieces) {
        if (piece)
            total += std::strlen(piece);
    }
    Text joined = Text::with_length(total);
    char* out = joined.data();
    for (const char* piece : pieces) {
        if (!piece)
            continue;
        const std::size_t n = std::strlen(piece);
        std::memcpy(out, piece, n);
        out += n;
    }
    *out = '\0';
    return joined;
}

char* allocate_text_block(std::size_t bytes) {
    void* block = text_heap_allocate(bytes);
    if (block == nullptr)
        fatal_out_of_memory(bytes);
    return static_cast<char*>(block);
}

void free_text_block(char* block) noexcept {
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace tolvane
