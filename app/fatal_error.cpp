#include "app/fatal_error.h"

#include <windows.h>
#include <ole2.h>

namespace tolvane {
namespace {

// Appends to a zero-terminated text in a buffer of `size` bytes, cutting
// rather than overrunning; `used` is the text's length.
void append(char* out, std::size_t size, std::size_t& used, const char* piece) noexcept {
    while (*piece != '\0' && used + 1 < size)
        out[used++] = *piece++;
    out[used] = '\0';
}

}  // namespace

char* format_decimal(std::size_t value, char* out, std::size_t out_size) noexcept {
    if (out_size == 0)
        return out;
    // The digits come lowest first; enough room for any std::size_t.
    char reversed[3 * sizeof(std::size_t)];
    std::size_t count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::size_t used = 0;
    while (count > 0 && used + 1 < out_size)
        out[used++] = reversed[--count];
    out[used] = '\0';
    return out;
}

char* format_fatal_error_text(const char* message, char* out, std::size_t out_size) noexcept {
    if (out_size == 0)
        return out;
    std::size_t used = 0;
    out[0] = '\0';
    append(out, out_size, used, "运行时出错!\r\n\r\n错误信息：");
    append(out, out_size, used, message ? message : "");
    append(out, out_size, used, "\r\n");
    return out;
}

char* format_out_of_memory_message(std::size_t bytes, char* out, std::size_t out_size) noexcept {
    if (out_size == 0)
        return out;
    char number[3 * sizeof(std::size_t) + 1];
    format_decimal(bytes, number, sizeof number);
    std::size_t used = 0;
    out[0] = '\0';
    append(out, out_size, used, "分配 ");
    append(out, out_size, used, number);
    append(out, out_size, used, " 字节内存失败!");
    return out;
}

void fatal_error(const char* message) noexcept {
    // Built on the stack: the heap may be what failed.
    char text[512];
    format_fatal_error_text(message, text, sizeof text);
    MessageBoxA(nullptr, text, "错误", MB_ICONERROR);
    // COM was initialised before anything that can fail fatally.
    OleUninitialize();
    ExitProcess(static_cast<UINT>(-1));
}

void fatal_out_of_memory(std::size_t bytes) noexcept {
    char message[64];
    format_out_of_memory_message(bytes, message, sizeof message);
    fatal_error(message);
}

}  // namespace tolvane
