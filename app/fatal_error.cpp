#include "app/fatal_error.h"

#include <windows.h>
#include <ole2.h>

#include <cstdio>

namespace tolvane {

char* format_fatal_error_text(const char* message, char* out, std::size_t out_size) noexcept {
    if (out_size == 0)
        return out;
    std::snprintf(out, out_size, "运行时出错!\r\n\r\n错误信息：%s\r\n", message ? message : "");
    return out;
}

char* format_out_of_memory_message(std::size_t bytes, char* out, std::size_t out_size) noexcept {
    if (out_size == 0)
        return out;
    std::snprintf(out, out_size, "分配 %u 字节内存失败!", static_cast<unsigned>(bytes));
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
