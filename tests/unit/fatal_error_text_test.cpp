#include "app/fatal_error.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(FatalErrorText, NeverWritesPastTheBuffer) {
    char text[16];
    std::memset(text, 'x', sizeof text);
    format_fatal_error_text(kWindowLoadFailed, text, 10);
    EXPECT_EQ(std::strlen(text), 9u);
    EXPECT_EQ(text[10], 'x');
}

}  // namespace
}  // namespace tolvane
