// The two errors the program cannot go on from: the main window cannot be
// built, or a Text block cannot be had. Both show a box and end the process
// with exit code -1, skipping the clean-up of static objects.
#pragma once

#include <cstddef>

namespace tolvane {

inline constexpr const char kWindowLoadFailed[] = "载入启动窗口失败";

// The box text for a message: "运行时出错!\r\n\r\n错误信息：<message>\r\n",
// cut (never overrun) to the buffer. Returns `out`.
char* format_fatal_error_text(const char* message, char* out, std::size_t out_size) noexcept;

// The value in decimal digits, cut (never overrun) to the buffer. Returns
// `out`.
char* format_decimal(std::size_t value, char* out, std::size_t out_size) noexcept;

// "分配 <bytes> 字节内存失败!" into the buffer. Returns `out`.
char* format_out_of_memory_message(std::size_t bytes, char* out, std::size_t out_size) noexcept;

[[noreturn]] void fatal_error(const char* message) noexcept;
[[noreturn]] void fatal_out_of_memory(std::size_t bytes) noexcept;

}  // namespace tolvane
