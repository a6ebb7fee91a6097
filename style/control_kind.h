// Which windows the skin takes, and how it reads their styles. Pure: it
// looks only at class names and style bits.
#pragma once

#include <optional>
#include <string_view>

#include "style/caption_layout.h"

namespace tolvane {

enum class SkinKind {
    push_button,  // also check boxes and radio buttons with BS_PUSHLIKE
    check_box,
    radio_button,
    group_box,
    edit_box,  // its frame only
    combo_box,
    combo_list,
    up_down,
};

// The kind a window of `class_name` (compared without regard to case) with
// `style` is drawn as, or none when the skin leaves it alone.
// `parent_class` and `parent_style` are its parent's (the fields of an
// IP-address control keep their own look, and so does the list of a
// simple combo box, which drops nothing down).
std::optional<SkinKind> skin_kind_for(std::string_view class_name, unsigned long style,
                                      std::string_view parent_class, unsigned long parent_style);

// The kinds whose whole client area the skin paints itself.
constexpr bool paints_whole_button(SkinKind kind) {
    return kind == SkinKind::push_button || kind == SkinKind::check_box ||
           kind == SkinKind::radio_button || kind == SkinKind::group_box;
}

// Where a button's caption goes, from its BS_ alignment bits: push buttons
// default to the middle centre, the other kinds to the left, middle.
CaptionPlacement caption_placement_for(SkinKind kind, unsigned long style);

// ASCII comparison without regard to case, as class names are compared.
bool same_class_name(std::string_view a, std::string_view b);

}  // namespace tolvane
