// The skin's pure parts: colour arithmetic, which windows it takes, and
// the looks drawn into a plain pixel buffer.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "style/control_kind.h"
#include "style/skin_canvas.h"
#include "style/skin_colour.h"
#include "style/skin_look.h"
#include "style/skin_scheme.h"

namespace tolvane {
namespace {

TEST(SkinColour, LessGreyStepIsPerChannelAndStopsAtZero) {
    EXPECT_EQ(less_0x202020(0xF0F0F0), 0xD0D0D0u);
    EXPECT_EQ(less_0x202020(0xF5F5F5), 0xD5D5D5u);
    EXPECT_EQ(less_0x202020(0x202020), 0x000000u);
    EXPECT_EQ(less_0x202020(0x101010), 0x000000u);
    EXPECT_EQ(less_0x202020(0x1F2021), 0x000001u) << "red 0x21, green 0x20, blue 0x1F";
    EXPECT_EQ(less_0x202020(0xFF0040), 0xDF0020u);
}

TEST(SkinColour, MixRoundsToTheNearest) {
    EXPECT_EQ(mix_colours(0x000000, 0xFFFFFF, 0, 4), 0x000000u);
    EXPECT_EQ(mix_colours(0x000000, 0xFFFFFF, 4, 4), 0xFFFFFFu);
    EXPECT_EQ(mix_colours(0x000000, 0x0000FF, 1, 2), 0x000080u) << "127.5 rounds up";
    EXPECT_EQ(mix_colours(0x102030, 0x102030, 3, 7), 0x102030u);
    EXPECT_EQ(mix_colours(0x102030, 0xFFFFFF, 5, 0), 0x102030u) << "no span";
    EXPECT_EQ(mix_colours(0x000000, 0x0000FF, 9, 4), 0x0000FFu) << "clamped";
}

TEST(SkinColour, FourCornerGradientHitsEachCornerExactly) {
    const Corners corners = {0xBDCBD6, 0xC6CFD6, 0xEFF3F7, 0x000000};
    EXPECT_EQ(corner_gradient_at(corners, 0, 0, 11, 7), corners.top_left);
    EXPECT_EQ(corner_gradient_at(corners, 10, 0, 11, 7), corners.top_right);
    EXPECT_EQ(corner_gradient_at(corners, 0, 6, 11, 7), corners.bottom_left);
    EXPECT_EQ(corner_gradient_at(corners, 10, 6, 11, 7), corners.bottom_right);
    // The centre is the mean of the four corners, channel by channel.
    const Corners plain = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};
    EXPECT_EQ(corner_gradient_at(plain, 5, 5, 11, 11), 0x404040u);
    // Halfway down the left edge: halfway between the left corners.
    EXPECT_EQ(corner_gradient_at(plain, 0, 5, 11, 11), 0x008000u);
    // Outside the rectangle: the nearest edge.
    EXPECT_EQ(corner_gradient_at(plain, -3, -3, 11, 11), 0x000000u);
    EXPECT_EQ(corner_gradient_at(plain, 20, 20, 11, 11), 0xFF0000u);
}

TEST(SkinColour, GradientsOfOnePixelEdgesAndVerticalGradients) {
    const Corners v = vertical_gradient(0xFFFFFF, 0xD6DFE2);
    EXPECT_EQ(corner_gradient_at(v, 0, 0, 1, 1), 0xFFFFFFu) << "a single pixel takes top left";
    EXPECT_EQ(corner_gradient_at(v, 0, 27, 1, 28), 0xD6DFE2u);
    for (int x = 0; x < 92; ++x) {
        EXPECT_EQ(corner_gradient_at(v, x, 13, 92, 28), corner_gradient_at(v, 0, 13, 92, 28));
    }
    EXPECT_EQ(corner_gradient_at(flat_colour(0xCEE3EF), 30, 4, 92, 28), 0xCEE3EFu);
}

struct KindCase {
    const char* class_name;
    unsigned long style;
    const char* parent_class;
    unsigned long parent_style;
    std::optional<SkinKind> expected;
};

TEST(SkinKindFor, TakesExactlyTheListedClassesAndStyles) {
    const KindCase cases[] = {
        {"Button", BS_PUSHBUTTON, "", 0, SkinKind::push_button},
        {"BUTTON", BS_DEFPUSHBUTTON | BS_MULTILINE, "", 0, SkinKind::push_button},
        {"button", BS_AUTOCHECKBOX | BS_PUSHLIKE, "", 0, SkinKind::push_button},
        {"Button", BS_RADIOBUTTON | BS_PUSHLIKE, "", 0, SkinKind::push_button},
        {"Button", BS_CHECKBOX, "", 0, SkinKind::check_box},
        {"Button", BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER, "", 0, SkinKind::check_box},
        {"Button", BS_3STATE, "", 0, SkinKind::check_box},
        {"Button", BS_AUTO3STATE, "", 0, SkinKind::check_box},
        {"Button", BS_RADIOBUTTON, "", 0, SkinKind::radio_button},
        {"Button", BS_AUTORADIOBUTTON, "", 0, SkinKind::radio_button},
        {"Button", BS_GROUPBOX, "", 0, SkinKind::group_box},
        {"Button", BS_OWNERDRAW, "", 0, std::nullopt},
        {"Button", BS_USERBUTTON, "", 0, std::nullopt},
        {"Button", BS_PUSHBUTTON | BS_BITMAP, "", 0, std::nullopt},
        {"Button", BS_AUTOCHECKBOX | BS_ICON, "", 0, std::nullopt},
        {"Button", 0xC /* split button */, "", 0, std::nullopt},
        {"Button", 0xE /* command link */, "", 0, std::nullopt},
        {"Edit", ES_AUTOHSCROLL, "TolvaneMainWindow", 0, SkinKind::edit_box},
        {"EDIT", ES_PASSWORD, "", 0, SkinKind::edit_box},
        {"Edit", 0, "SysIPAddress32", 0, std::nullopt},
        {"Edit", 0, "sysipaddress32", 0, std::nullopt},
        {"ComboBox", CBS_DROPDOWN, "", 0, SkinKind::combo_box},
        {"COMBOBOX", CBS_DROPDOWNLIST, "", 0, SkinKind::combo_box},
        {"ComboBox", CBS_SIMPLE, "", 0, std::nullopt},
        {"ComboLBox", 0, "ComboBox", CBS_DROPDOWNLIST, SkinKind::combo_list},
        {"ComboLBox", 0, "ComboBox", CBS_SIMPLE, std::nullopt},
        {"msctls_updown32", 0, "", 0, SkinKind::up_down},
        {"TolvaneLabel", 0, "", 0, std::nullopt},
        {"Static", 0, "", 0, std::nullopt},
        {"ListBox", 0, "", 0, std::nullopt},
        {"Buttons", BS_PUSHBUTTON, "", 0, std::nullopt},
        {"Butto", BS_PUSHBUTTON, "", 0, std::nullopt},
        {"", 0, "", 0, std::nullopt},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.class_name << " " << c.style);
        EXPECT_EQ(skin_kind_for(c.class_name, c.style, c.parent_class, c.parent_style), c.expected);
    }
}

// A canvas over a plain buffer, filled with a background first.
class Pixels {
  public:
    Pixels(int width, int height, Colour background)
        : bits_(static_cast<std::size_t>(width) * height), canvas_(bits_.data(), width, height) {
        canvas_.fill(canvas_.bounds(), background);
    }
    Canvas& canvas() { return canvas_; }
    Colour at(int x, int y) const { return canvas_.pixel(x, y); }
    int count(const PixelRect& r, Colour c) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x)
                n += at(x, y) == c ? 1 : 0;
        }
        return n;
    }

  private:
    std::vector<std::uint32_t> bits_;
    Canvas canvas_;
};

constexpr Colour kFace = 0xF0F0F0;

TEST(SkinCanvas, StoresDibOrderAndClipsAtItsEdges) {
    std::vector<std::uint32_t> bits(4, 0);
    Canvas canvas(bits.data(), 2, 2);
    canvas.set(1, 0, make_colour(0x11, 0x22, 0x33));
    EXPECT_EQ(bits[1], 0x112233u) << "a DIB keeps red high, blue low";
    EXPECT_EQ(canvas.pixel(1, 0), make_colour(0x11, 0x22, 0x33));
    canvas.set(2, 0, 0xFFFFFF);
    canvas.set(-1, 1, 0xFFFFFF);
    canvas.fill({-5, -5, 10, 1}, 0x0000FF);
    EXPECT_EQ(bits[2], 0u);
    EXPECT_EQ(bits[3], 0u);
    EXPECT_EQ(canvas.pixel(2, 0), kNoPixel);
}

TEST(SkinLook, PushButtonNormalBorderRingAndFace) {
    Pixels p(96, 32, kFace);
    const SchemeColours& s = scheme_colours(2);
    draw_push_button(p.canvas(), s, kFace, {});
    EXPECT_EQ(p.at(0, 16), kFace) << "a ring of button face";
    EXPECT_EQ(p.at(1, 16), 0x066237u);
    EXPECT_EQ(p.at(94, 16), 0x066237u);
    EXPECT_EQ(p.at(48, 1), 0x066237u);
    EXPECT_EQ(p.at(48, 30), 0x066237u);
    EXPECT_NE(p.at(1, 1), 0x066237u) << "rounded";
    EXPECT_NE(p.at(1, 1), kFace);
    EXPECT_EQ(p.at(48, 2), 0xFFFFFFu);
    EXPECT_EQ(p.at(48, 3), corner_gradient_at(s.push_ring, 0, 1, 92, 28));
    EXPECT_EQ(p.at(48, 29), 0xD6DFE2u);
    EXPECT_EQ(p.at(2, 16), p.at(3, 16)) << "two pixels wide";
    EXPECT_EQ(p.at(4, 4), 0xFBFCFCu);
    EXPECT_EQ(p.at(91, 27), 0xC9E1ECu);
    EXPECT_EQ(push_caption_colour(s, {}), 0x000000u);
}

TEST(SkinLook, PushButtonStates) {
    const SchemeColours& s = scheme_colours(2);
    struct Case {
        const char* name;
        ButtonLook look;
        Colour border, ring_top, ring_bottom, face_top, face_bottom;
    };
    ButtonLook hot, focused, is_default, pressed, checked, disabled, pressed_and_hot;
    hot.hot = true;
    focused.focused = true;
    is_default.is_default = true;
    pressed.pressed = true;
    checked.check = 1;
    disabled.disabled = true;
    disabled.hot = true;  // disabled wins
    pressed_and_hot.pressed = pressed_and_hot.hot = true;
    const Case cases[] = {
        {"hot", hot, 0x066237, 0xCFF0FF, 0x0097E5, 0xFBFCFC, 0xC9E1EC},
        {"focused", focused, 0x066237, 0xCFF0FF, 0x0097E5, 0xFBFCFC, 0xC9E1EC},
        {"default", is_default, 0x066237, 0xCFF0FF, 0x0097E5, 0xFBFCFC, 0xC9E1EC},
        {"pressed", pressed, 0x066237, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF},
        {"pressed and hot", pressed_and_hot, 0x066237, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF, 0xCEE3EF},
        {"checked", checked, 0x066237, corner_gradient_at(s.push_ring_checked, 46, 0, 92, 28),
         corner_gradient_at(s.push_ring_checked, 46, 27, 92, 28), 0xCEE3EF, 0xCEE3EF},
        {"disabled", disabled, less_0x202020(kFace), 0xEAF4F5, 0xEAF4F5, 0xEAF4F5, 0xEAF4F5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pixels p(96, 32, kFace);
        draw_push_button(p.canvas(), s, kFace, c.look);
        EXPECT_EQ(p.at(1, 16), c.border);
        EXPECT_EQ(p.at(48, 2), c.ring_top);
        EXPECT_EQ(p.at(48, 29), c.ring_bottom);
        EXPECT_EQ(p.at(8, 4), c.face_top);
        EXPECT_EQ(p.at(8, 27), c.face_bottom);
    }
    EXPECT_EQ(push_caption_colour(s, disabled), 0x94A2A5u);
    const PixelRect normal_area = push_caption_area(96, 32, {});
    const PixelRect pressed_area = push_caption_area(96, 32, pressed);
    EXPECT_EQ(pressed_area.left, normal_area.left + 1);
    EXPECT_EQ(pressed_area.top, normal_area.top + 1);
    EXPECT_EQ(pressed_area.width(), normal_area.width());
}

TEST(SkinLook, FocusDotsAreACheckerboard3PixelsInside) {
    Pixels p(96, 32, kFace);
    draw_focus_dots(p.canvas(), scheme_colours(2), push_focus_rect(96, 32));
    for (int x = 3; x < 93; ++x) {
        EXPECT_EQ(p.at(x, 3) == 0x000000, (x - 3) % 2 == 0) << x;
        EXPECT_EQ(p.at(x, 28) == 0x000000, (x - 3 + 25) % 2 == 0) << x;
    }
    for (int y = 3; y < 29; ++y) {
        EXPECT_EQ(p.at(3, y) == 0x000000, (y - 3) % 2 == 0) << y;
        EXPECT_EQ(p.at(92, y) == 0x000000, (y - 3 + 89) % 2 == 0) << y;
    }
    EXPECT_EQ(p.count({4, 4, 92, 28}, 0x000000), 0);
    EXPECT_EQ(p.count({0, 0, 96, 3}, 0x000000), 0);
}

// The tick as drawn, one string per row of the 13 × 13 box.
std::vector<std::string> box_rows(const Pixels& p, int top, Colour tick) {
    std::vector<std::string> rows;
    for (int y = top; y < top + 13; ++y) {
        std::string row;
        for (int x = 0; x < 13; ++x)
            row += p.at(x, y) == tick ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

TEST(SkinLook, CheckBoxNormalHotPressedTickedAndDisabled) {
    const SchemeColours& s = scheme_colours(2);
    {
        Pixels p(96, 16, kFace);
        draw_check_box(p.canvas(), s, kFace, {}, 0, box_top(16, VerticalPlace::middle));
        EXPECT_EQ(box_top(16, VerticalPlace::middle), 1);
        EXPECT_EQ(p.at(0, 1), 0x845118u);
        EXPECT_EQ(p.at(12, 13), 0x845118u);
        EXPECT_EQ(p.at(1, 2), 0xD6DFDEu);
        EXPECT_EQ(p.at(11, 2), 0xEFF3F7u);
        EXPECT_EQ(p.at(1, 12), 0xEFF3F7u);
        EXPECT_EQ(p.at(11, 12), 0xFFFFFFu);
        EXPECT_EQ(p.at(13, 7), kFace) << "nothing beyond the box";
        EXPECT_EQ(p.at(0, 0), kFace);
    }
    {
        ButtonLook hot;
        hot.hot = true;
        Pixels p(13, 13, kFace);
        draw_check_box(p.canvas(), s, kFace, hot, 0, 0);
        EXPECT_EQ(p.at(1, 1), 0xCEF3FFu);
        EXPECT_EQ(p.at(11, 1), 0x63CBFFu);
        EXPECT_EQ(p.at(11, 11), 0x31B2FFu);
        EXPECT_EQ(p.count({3, 3, 10, 10}, 0xE7E7E7), 49) << "the inner 7 × 7";
        EXPECT_EQ(p.count({0, 0, 13, 13}, 0xE7E7E7), 49);
        EXPECT_EQ(p.at(2, 6), corner_gradient_at(s.box_face_hot, 1, 5, 11, 11)) << "orange ring";
        hot.check = 1;
        draw_check_box(p.canvas(), s, kFace, hot, 0, 0);
        EXPECT_EQ(p.count({3, 3, 10, 10}, 0xF7F7F7), 49 - 21);
    }
    {
        ButtonLook pressed;
        pressed.pressed = pressed.hot = true;
        Pixels p(13, 13, kFace);
        draw_check_box(p.canvas(), s, kFace, pressed, 0, 0);
        EXPECT_EQ(p.at(1, 1), 0xA5B2B5u);
        EXPECT_EQ(p.at(11, 11), 0xDEEFF7u);
        EXPECT_EQ(p.count({3, 3, 10, 10}, 0xE7E7E7), 0) << "no hot square while pressed";
    }
    {
        ButtonLook ticked;
        ticked.check = 1;
        Pixels p(13, 13, kFace);
        draw_check_box(p.canvas(), s, kFace, ticked, 0, 0);
        const std::vector<std::string> expected = {
            ".............",  //
            ".............",  //
            ".............",  //
            ".........#...",  //
            "........##...",  //
            "...#...###...",  //
            "...##.###....",  //
            "...#####.....",  //
            "....###......",  //
            ".....#.......",  //
            ".............",  //
            ".............",  //
            ".............",  //
        };
        EXPECT_EQ(box_rows(p, 0, 0x21A221), expected);
        EXPECT_EQ(p.count({0, 0, 13, 13}, 0x21A221), 21);
    }
    {
        ButtonLook disabled;
        disabled.disabled = true;
        disabled.check = 1;
        disabled.hot = true;
        Pixels p(13, 13, kFace);
        draw_check_box(p.canvas(), s, kFace, disabled, 0, 0);
        EXPECT_EQ(p.at(0, 6), less_0x202020(kFace));
        EXPECT_EQ(p.at(1, 1), 0xFFFFFFu);
        EXPECT_EQ(p.count({0, 0, 13, 13}, 0xBDCBCE), 21);
        EXPECT_EQ(p.count({0, 0, 13, 13}, 0x21A221), 0);
        EXPECT_EQ(box_caption_colour(s, disabled, 0x000000), 0x94A2A5u);
        EXPECT_EQ(box_caption_colour(s, {}, 0x123456), 0x123456u) << "the parent's colour";
    }
}

TEST(SkinLook, BoxPlacementFollowsTheVerticalAlignment) {
    EXPECT_EQ(box_top(30, VerticalPlace::top), 0);
    EXPECT_EQ(box_top(30, VerticalPlace::middle), 8);
    EXPECT_EQ(box_top(30, VerticalPlace::bottom), 17);
}

TEST(SkinLook, RadioButtonIsARoundBoxWithADotWhenChecked) {
    const SchemeColours& s = scheme_colours(2);
    ButtonLook checked;
    checked.check = 1;
    Pixels p(13, 13, kFace);
    draw_radio_button(p.canvas(), s, kFace, checked, 0, 0);
    EXPECT_EQ(p.at(0, 6), 0x845118u);
    EXPECT_EQ(p.at(6, 0), 0x845118u);
    EXPECT_EQ(p.at(0, 0), kFace) << "corners stay outside the circle";
    EXPECT_EQ(p.at(6, 6), 0x21A221u);
    EXPECT_GT(p.count({0, 0, 13, 13}, 0x21A221), 9);
    Pixels unchecked(13, 13, kFace);
    draw_radio_button(unchecked.canvas(), s, kFace, {}, 0, 0);
    EXPECT_EQ(unchecked.count({0, 0, 13, 13}, 0x21A221), 0);
}

TEST(SkinLook, GroupFrameLeavesAGapForItsCaption) {
    Pixels p(100, 60, kFace);
    draw_group_frame(p.canvas(), scheme_colours(2), kFace, false, 6, 20, 50);
    EXPECT_EQ(p.at(10, 6), 0x845118u);
    EXPECT_EQ(p.at(30, 6), kFace) << "the caption's gap";
    EXPECT_EQ(p.at(60, 6), 0x845118u);
    EXPECT_EQ(p.at(0, 30), 0x845118u);
    EXPECT_EQ(p.at(99, 30), 0x845118u);
    EXPECT_EQ(p.at(50, 59), 0x845118u);
    EXPECT_EQ(p.at(50, 30), kFace) << "the inside is left alone";
    EXPECT_EQ(p.at(50, 2), kFace);
}

TEST(SkinLook, EditFrameRings) {
    const SchemeColours& s = scheme_colours(2);
    const FrameColours live = edit_frame_colours(s, kFace, 0xFFFFFF, false);
    EXPECT_EQ(live.outer, 0x7FB9A4u);
    EXPECT_EQ(live.inner, 0xFFFFFFu);
    const FrameColours inactive = edit_frame_colours(s, kFace, 0xFFFFFF, true);
    EXPECT_EQ(inactive.outer, less_0x202020(kFace));
    EXPECT_EQ(inactive.inner, kFace);

    Pixels p(20, 10, 0x123456);
    draw_frame_rings(p.canvas(), live, 2);
    EXPECT_EQ(p.count({0, 0, 20, 10}, 0x7FB9A4), 2 * 20 + 2 * 8);
    EXPECT_EQ(p.count({1, 1, 19, 9}, 0xFFFFFF), 2 * 18 + 2 * 6);
    EXPECT_EQ(p.count({2, 2, 18, 8}, 0x123456), 16 * 6) << "the inside keeps its drawing";
}

TEST(SkinScheme, SchemesOneAndThreeAreVariantsAndOthersFallBackToTwo) {
    EXPECT_TRUE(is_scheme(1));
    EXPECT_TRUE(is_scheme(3));
    EXPECT_FALSE(is_scheme(0));
    EXPECT_FALSE(is_scheme(4));
    EXPECT_FALSE(is_scheme(-2));
    EXPECT_EQ(scheme_colours(2).push_border, 0x066237u);
    EXPECT_NE(scheme_colours(1).push_border, scheme_colours(2).push_border);
    EXPECT_NE(scheme_colours(3).edit_frame, scheme_colours(2).edit_frame);
    EXPECT_EQ(&scheme_colours(7), &scheme_colours(2));
}

}  // namespace
}  // namespace tolvane
