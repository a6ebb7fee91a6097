// Texts: zero-terminated code page 936 byte strings in the process heap.
// A missing Text (null) and the empty Text are the same text.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <utility>

namespace tolvane {

class Text {
  public:
    Text() noexcept = default;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    Text(Text&& other) noexcept : block_(other.release()) {}
    Text& operator=(Text&& other) noexcept;
    ~Text();

    // A fresh copy of s; a null or empty s gives the missing Text.
    static Text copy_of(const char* s);
    // A fresh copy of the first `length` bytes of s (which must hold them);
    // no bytes give the missing Text.
    static Text copy_of(const char* s, std::size_t length);
    // A fresh block of length + 1 bytes, zero-filled, to be written by the
    // caller (at most `length` bytes plus the terminating zero).
    static Text with_length(std::size_t length);

    // Null for the missing Text.
    const char* get() const noexcept { return block_; }
    char* data() noexcept { return block_; }
    // Never null: "" for the missing Text.
    const char* c_str() const noexcept { return block_ ? block_ : ""; }
    bool empty() const noexcept { return block_ == nullptr || block_[0] == '\0'; }
    std::size_t length() const noexcept;

    char* release() noexcept { return std::exchange(block_, nullptr); }

  private:
    explicit Text(char* block) noexcept : block_(block) {}
    char* block_ = nullptr;
};

// Zeroes the text's bytes, then releases it: for passwords, which should
// leave no copy behind in the heap.
void wipe_text(Text& text) noexcept;

// Byte-wise, unsigned, case-sensitive; null compares as "".
int compare_texts(const char* a, const char* b) noexcept;

// A fresh Text holding the pieces one after the other; null pieces count as
// empty. The block holds exactly the total length plus the terminating zero.
Text join_texts(std::initializer_list<const char*> pieces);

// The process-heap block of one Text. Allocation failure is fatal (the error
// box, then the end of the process), so the result is never null.
char* allocate_text_block(std::size_t bytes);
void free_text_block(char* block) noexcept;

}  // namespace tolvane
