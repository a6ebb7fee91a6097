#include "app/program_directory.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(LastPathSeparator, FindsTheLastBackslashCharacterOfCodePage936) {
    struct Case {
        const char* path;
        std::size_t expected;
    };
    const Case cases[] = {
        {"C:\\Program Files\\adsl\\ADSL.EXE", 21},
        {"ADSL.EXE", kNoSeparator},
        {"", kNoSeparator},
        {"C:\\ADSL.EXE", 2},
        // 0x95 0x5C is one double-byte character whose trail byte is a
        // backslash: it is no separator. "表" is B1 ED.
        {"C:\\x\\\x95\\ADSL.EXE", 4},
        {"C:\\x\\a\x95\\", 4},
        {"C:\\dir\xB1\xED\\f", 8},
        {"\x81\\", kNoSeparator},
        // A lone lead byte at the end ends the walk without reading past it.
        {"C:\\a\\\x81", 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(last_path_separator(c.path), c.expected) << c.path;
    }
    EXPECT_EQ(last_path_separator(nullptr), kNoSeparator);
}

}  // namespace
}  // namespace tolvane
