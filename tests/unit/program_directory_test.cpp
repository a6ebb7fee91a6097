#include "app/program_directory.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(Cp936WholeLength, DropsOnlyALeadByteWhoseTrailWasCut) {
    struct Case {
        const char* text;
        std::size_t length;
        std::size_t expected;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"abc", 3, 3},
        {"\xBA\xBA", 2, 2},           // 汉, whole
        {"\xBA\xBA", 1, 0},           // its lead byte alone
        {"a\xBA\xBA\xBA\xBA", 4, 3},  // the trail of 汉 is a lead byte too
        {"a\xBA\xBA\xBA\xBA", 3, 3},
        {"\x95\\x", 2, 2},  // a trail byte 0x5C
        {"\x80x", 1, 1},    // 0x80 and 0xFF lead no character
        {"\xFFx", 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cp936_whole_length(c.text, c.length), c.expected) << c.text << " " << c.length;
    }
    EXPECT_EQ(cp936_whole_length(nullptr, 4), 0u);
}

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
