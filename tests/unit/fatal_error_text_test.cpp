#include "app/fatal_error.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tolvane {
namespace {

TEST(FatalErrorText, FramesTheMessage) {
    char text[256];
    EXPECT_STREQ(format_fatal_error_text(kWindowLoadFailed, text, sizeof text),
                 "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    char message[64];
    EXPECT_STREQ(format_out_of_memory_message(10240, message, sizeof message),
                 "分配 10240 字节内存失败!");
}

TEST(FatalErrorText, WritesByteCountsInDecimal) {
    struct Case {
        std::size_t value;
        const char* digits;
    };
    const Case cases[] = {
        {0, "0"},
        {4, "4"},
        {9, "9"},
        {10, "10"},
        {100, "100"},
        {65535, "65535"},
        {2147483648u, "2147483648"},  // past the signed range
        {static_cast<std::size_t>(-1),
         sizeof(std::size_t) == 4 ? "4294967295" : "18446744073709551615"},
    };
    for (const Case& c : cases) {
        char digits[32];
        EXPECT_STREQ(format_decimal(c.value, digits, sizeof digits), c.digits) << c.value;
        char message[64];
        const std::string expected = std::string("分配 ") + c.digits + " 字节内存失败!";
        EXPECT_EQ(format_out_of_memory_message(c.value, message, sizeof message), expected);
    }
}

TEST(FatalErrorText, NeverWritesPastTheBuffer) {
    char text[16];
    std::memset(text, 'x', sizeof text);
    format_fatal_error_text(kWindowLoadFailed, text, 10);
    EXPECT_EQ(std::strlen(text), 9u);
    EXPECT_EQ(text[10], 'x');

    // Every cut keeps the terminating zero inside the buffer.
    for (std::size_t size = 1; size < 12; ++size) {
        SCOPED_TRACE(size);
        std::memset(text, 'x', sizeof text);
        format_decimal(1234567890, text, size);
        EXPECT_EQ(std::strlen(text), size - 1);
        EXPECT_EQ(std::string(text), std::string("1234567890").substr(0, size - 1));
        EXPECT_EQ(text[size], 'x');
        std::memset(text, 'x', sizeof text);
        format_out_of_memory_message(1234567890, text, size);
        EXPECT_EQ(std::strlen(text), size - 1);
        EXPECT_EQ(text[size], 'x');
    }
    std::memset(text, 'x', sizeof text);
    format_decimal(5, text, 0);
    format_out_of_memory_message(5, text, 0);
    EXPECT_EQ(text[0], 'x');  // nothing written at all
}

}  // namespace
}  // namespace tolvane
