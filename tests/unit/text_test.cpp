#include "app/text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace tolvane {
namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(CompareTexts, OrdersBytesAsUnsignedAndTreatsMissingAsEmpty) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, 0},
        {nullptr, "", 0},
        {"", nullptr, 0},
        {nullptr, "a", -1},
        {"a", nullptr, 1},
        {"1", "1", 0},
        {"1 ", "1", 1},
        {"01", "1", -1},
        {"a", "A", 1},        // case-sensitive
        {"\x80", "\x7F", 1},  // 0x80 is above 0x7F when unsigned
        {"\xFF", "a", 1},
        {"连接", "连接", 0},
        {"连接", "连", 1},
        {"用户名", "用户", 1},
        {"保存", "密码", sign(0xB1 - 0xC3)},  // GBK lead bytes B1 and C3
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sign(compare_texts(c.a, c.b)), c.expected)
            << (c.a ? c.a : "(null)") << " vs " << (c.b ? c.b : "(null)");
    }
}

TEST(CompareTexts, GbkLiteralsAreCodePage936Bytes) {
    // The program's texts must reach the ANSI functions as GBK bytes.
    EXPECT_STREQ("用户参数", "\xD3\xC3\xBB\xA7\xB2\xCE\xCA\xFD");
    EXPECT_STREQ("ADSL拨号.lnk", "\x41\x44\x53\x4C\xB2\xA6\xBA\xC5\x2E\x6C\x6E\x6B");
}

TEST(JoinTexts, JoinsPiecesWithNothingBetweenAndMissingAsEmpty) {
    struct Case {
        std::initializer_list<const char*> pieces;
        const char* expected;
    };
    const Case cases[] = {
        {{}, ""},
        {{nullptr}, ""},
        {{nullptr, nullptr}, ""},
        {{"C:\\Startup\\", "ADSL拨号.lnk"}, "C:\\Startup\\ADSL拨号.lnk"},
        {{nullptr, "ADSL拨号.lnk"}, "ADSL拨号.lnk"},
        {{"a", nullptr, "b", "", "c"}, "abc"},
    };
    for (const Case& c : cases) {
        Text joined = join_texts(c.pieces);
        ASSERT_NE(joined.get(), nullptr) << "the result is never missing";
        EXPECT_STREQ(joined.get(), c.expected);
        EXPECT_EQ(HeapSize(GetProcessHeap(), 0, joined.get()), std::strlen(c.expected) + 1)
            << "the block holds exactly the text and its zero";
    }
}

TEST(Text, CopiesAndMovesOwnership) {
    Text missing = Text::copy_of(nullptr);
    EXPECT_EQ(missing.get(), nullptr);
    EXPECT_STREQ(missing.c_str(), "");
    EXPECT_TRUE(Text::copy_of("").empty());

    const char original[] = "账号";
    Text copy = Text::copy_of(original);
    ASSERT_NE(copy.get(), original);
    EXPECT_STREQ(copy.get(), original);
    EXPECT_EQ(copy.length(), 4u);

    Text moved = std::move(copy);
    EXPECT_EQ(copy.get(), nullptr);
    EXPECT_STREQ(moved.get(), original);
    moved = Text::copy_of("x");
    EXPECT_STREQ(moved.get(), "x");
}

TEST(Text, BlocksComeFromTheProcessHeap) {
    Text t = Text::copy_of("abc");
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, t.get()));
}

}  // namespace
}  // namespace tolvane
