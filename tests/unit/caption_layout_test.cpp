// Caption layout: prefix characters, line breaks, wrapping and placement.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "style/caption_layout.h"
#include "style/control_kind.h"

#include <windows.h>

namespace tolvane {
namespace {

// ASCII 6 pixels wide, double-byte characters 12.
int fixed_width(void*, const char*, std::size_t length) {
    return length == 2 ? 12 : 6;
}

struct Line {
    std::string text;
    int x;
    int y;
};

struct Mnemonic {
    std::size_t line;
    int x;
    int width;
};

struct LayoutCase {
    const char* name;
    const char* caption;
    int width;
    int height;
    CaptionPlacement placement;
    std::vector<Line> lines;
    std::optional<Mnemonic> mnemonic;
};

constexpr CaptionPlacement kTopLeft{HorizontalPlace::left, VerticalPlace::top};
constexpr CaptionPlacement kMiddleCentre{HorizontalPlace::centre, VerticalPlace::middle};
constexpr int kLineHeight = 10;

class CaptionLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(CaptionLayoutTest, LaysOutLinesAndMnemonic) {
    const LayoutCase& c = GetParam();
    const CaptionLayout layout = lay_out_caption(c.caption, c.width, c.height, kLineHeight,
                                                 c.placement, fixed_width, nullptr);
    ASSERT_EQ(layout.lines.size(), c.lines.size());
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
        SCOPED_TRACE(i);
        const CaptionLine& got = layout.lines[i];
        EXPECT_EQ(layout.text().substr(got.begin, got.length), c.lines[i].text);
        EXPECT_EQ(got.x, c.lines[i].x);
        EXPECT_EQ(got.y, c.lines[i].y);
    }
    ASSERT_EQ(layout.mnemonic.has_value(), c.mnemonic.has_value());
    if (c.mnemonic) {
        EXPECT_EQ(layout.mnemonic->line, c.mnemonic->line);
        EXPECT_EQ(layout.mnemonic->x, c.mnemonic->x);
        EXPECT_EQ(layout.mnemonic->width, c.mnemonic->width);
    }
}

const LayoutCase kLayoutCases[] = {
    {"Empty", "", 40, 20, kMiddleCentre, {}, std::nullopt},
    {"OneLineInTheMiddle", "OK", 40, 20, kMiddleCentre, {{"OK", 14, 5}}, std::nullopt},
    {"FillsTheWidthExactly", "ABCDE", 30, 20, kTopLeft, {{"ABCDE", 0, 0}}, std::nullopt},
    {"WrapsAtTheCharacterThatOverflows",
     "ABCDEFG",
     30,
     40,
     kTopLeft,
     {{"ABCDE", 0, 0}, {"FG", 0, 10}},
     std::nullopt},
    {"SpacesAreCharactersLikeAnyOther",
     "AB CD",
     18,
     40,
     kTopLeft,
     {{"AB ", 0, 0}, {"CD", 0, 10}},
     std::nullopt},
    {"DoubleByteCharacterAtTheEdgeFits",
     "AB连接",
     24,
     40,
     kTopLeft,
     {{"AB连", 0, 0}, {"接", 0, 10}},
     std::nullopt},
    {"DoubleByteCharacterOverTheEdgeMovesWhole",
     "AB连接",
     20,
     40,
     kTopLeft,
     {{"AB", 0, 0}, {"连", 0, 10}, {"接", 0, 20}},
     std::nullopt},
    {"CharacterWiderThanTheAreaStandsAlone",
     "连A",
     5,
     40,
     kTopLeft,
     {{"连", 0, 0}, {"A", 0, 10}},
     std::nullopt},
    {"LeadByteWithoutTrailIsOneCharacter",
     "A\x81",
     40,
     20,
     kTopLeft,
     {{"A\x81", 0, 0}},
     std::nullopt},
    {"CrLfStartsALine", "AB\r\nCD", 40, 40, kTopLeft, {{"AB", 0, 0}, {"CD", 0, 10}}, std::nullopt},
    {"TrailingCrLfLeavesAnEmptyLine",
     "AB\r\n",
     40,
     40,
     kTopLeft,
     {{"AB", 0, 0}, {"", 0, 10}},
     std::nullopt},
    {"LoneLfAndCrBreakToo",
     "A\nB\rC",
     40,
     40,
     kTopLeft,
     {{"A", 0, 0}, {"B", 0, 10}, {"C", 0, 20}},
     std::nullopt},
    {"AmpersandMarksTheMnemonic", "&Save", 40, 20, kTopLeft, {{"Save", 0, 0}}, Mnemonic{0, 0, 6}},
    {"MnemonicInsideTheWord", "Sa&ve", 40, 20, kTopLeft, {{"Save", 0, 0}}, Mnemonic{0, 12, 6}},
    {"DoubledAmpersandIsLiteral", "&&Save", 40, 20, kTopLeft, {{"&Save", 0, 0}}, std::nullopt},
    {"LiteralThenMnemonic", "A&&B&C", 40, 20, kTopLeft, {{"A&BC", 0, 0}}, Mnemonic{0, 18, 6}},
    {"OnlyTheFirstAmpersandCounts", "&A&B", 40, 20, kTopLeft, {{"AB", 0, 0}}, Mnemonic{0, 0, 6}},
    {"TrailingAmpersandIsDropped", "Save&", 40, 20, kTopLeft, {{"Save", 0, 0}}, std::nullopt},
    {"MnemonicOnADoubleByteCharacter",
     "连&接",
     40,
     20,
     kTopLeft,
     {{"连接", 0, 0}},
     Mnemonic{0, 12, 12}},
    // Without the "&" the lead byte and "A" (0x41, a trail byte) make one
    // character, which is what the system then shows.
    {"AmpersandAfterALoneLeadByte",
     "\x81&A",
     40,
     20,
     kTopLeft,
     {{"\x81"
       "A",
       0, 0}},
     Mnemonic{0, 0, 12}},
    {"AmpersandAfterALoneLeadByteBeforeANonTrail",
     "\x81&!",
     40,
     20,
     kTopLeft,
     {{"\x81!", 0, 0}},
     Mnemonic{0, 6, 6}},
    {"MnemonicOnAWrappedLineIsPlacedWithIt",
     "ABCD&EF",
     24,
     40,
     kMiddleCentre,
     {{"ABCD", 0, 10}, {"EF", 6, 20}},
     Mnemonic{1, 6, 6}},
    {"AmpersandBeforeALineBreakMarksNothing",
     "A&\r\nB",
     40,
     40,
     kTopLeft,
     {{"A", 0, 0}, {"B", 0, 10}},
     std::nullopt},
    {"LinesAreCentredEachOnTheirOwn",
     "AB\r\nABCD",
     40,
     20,
     kMiddleCentre,
     {{"AB", 14, 0}, {"ABCD", 8, 10}},
     std::nullopt},
    {"TopLeft", "AB", 40, 30, kTopLeft, {{"AB", 0, 0}}, std::nullopt},
    {"TopCentre",
     "AB",
     40,
     30,
     {HorizontalPlace::centre, VerticalPlace::top},
     {{"AB", 14, 0}},
     std::nullopt},
    {"TopRight",
     "AB",
     40,
     30,
     {HorizontalPlace::right, VerticalPlace::top},
     {{"AB", 28, 0}},
     std::nullopt},
    {"MiddleLeft",
     "AB",
     40,
     30,
     {HorizontalPlace::left, VerticalPlace::middle},
     {{"AB", 0, 10}},
     std::nullopt},
    {"MiddleRight",
     "AB",
     40,
     30,
     {HorizontalPlace::right, VerticalPlace::middle},
     {{"AB", 28, 10}},
     std::nullopt},
    {"BottomLeft",
     "AB",
     40,
     30,
     {HorizontalPlace::left, VerticalPlace::bottom},
     {{"AB", 0, 20}},
     std::nullopt},
    {"BottomCentre",
     "AB",
     40,
     30,
     {HorizontalPlace::centre, VerticalPlace::bottom},
     {{"AB", 14, 20}},
     std::nullopt},
    {"BottomRight",
     "AB\r\nC",
     40,
     30,
     {HorizontalPlace::right, VerticalPlace::bottom},
     {{"AB", 28, 10}, {"C", 34, 20}},
     std::nullopt},
    {"TallerThanTheAreaStaysCentred",
     "A\r\nB\r\nC",
     40,
     10,
     kMiddleCentre,
     {{"A", 17, -10}, {"B", 17, 0}, {"C", 17, 10}},
     std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Table, CaptionLayoutTest, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(CaptionLayout, BoundsSurroundAllLines) {
    const CaptionLayout layout =
        lay_out_caption("AB\r\nABCD", 40, 30, kLineHeight, kMiddleCentre, fixed_width, nullptr);
    const CaptionLayout::Bounds b = layout.bounds();
    EXPECT_EQ(b.left, 8);
    EXPECT_EQ(b.right, 32);
    EXPECT_EQ(b.top, 5);
    EXPECT_EQ(b.bottom, 25);
}

TEST(CaptionLayout, CharacterLengthFollowsCodePage936) {
    EXPECT_EQ(character_length("连", 0), 2u);
    EXPECT_EQ(character_length("A", 0), 1u);
    EXPECT_EQ(character_length("\x81\x40", 0), 2u) << "trail bytes start at 0x40";
    EXPECT_EQ(character_length("\x81\x7F", 0), 1u) << "0x7F is no trail byte";
    EXPECT_EQ(character_length("\x81\x0D", 0), 1u);
    EXPECT_EQ(character_length("\x80\x41", 0), 1u) << "0x80 is no lead byte";
    EXPECT_EQ(character_length("\xFF\x41", 0), 1u);
    EXPECT_EQ(character_length("A", 1), 0u);
}

struct PlacementCase {
    SkinKind kind;
    unsigned long style;
    CaptionPlacement expected;
};

TEST(CaptionPlacementFromStyle, FollowsTheAlignmentBitsWithEachKindsDefault) {
    const PlacementCase cases[] = {
        {SkinKind::push_button, BS_PUSHBUTTON, {HorizontalPlace::centre, VerticalPlace::middle}},
        {SkinKind::check_box, BS_AUTOCHECKBOX, {HorizontalPlace::left, VerticalPlace::middle}},
        {SkinKind::push_button, BS_LEFT, {HorizontalPlace::left, VerticalPlace::middle}},
        {SkinKind::push_button, BS_RIGHT | BS_TOP, {HorizontalPlace::right, VerticalPlace::top}},
        {SkinKind::check_box,
         BS_CENTER | BS_BOTTOM,
         {HorizontalPlace::centre, VerticalPlace::bottom}},
        {SkinKind::push_button,
         BS_MULTILINE | BS_CENTER | BS_VCENTER,
         {HorizontalPlace::centre, VerticalPlace::middle}},
        {SkinKind::check_box,
         BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER,
         {HorizontalPlace::left, VerticalPlace::middle}},
        {SkinKind::radio_button, BS_RIGHT, {HorizontalPlace::right, VerticalPlace::middle}},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.style);
        const CaptionPlacement got = caption_placement_for(c.kind, c.style);
        EXPECT_EQ(got.horizontal, c.expected.horizontal);
        EXPECT_EQ(got.vertical, c.expected.vertical);
    }
}

}  // namespace
}  // namespace tolvane
