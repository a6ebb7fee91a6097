#include "style/control_kind.h"

#include <windows.h>

namespace tolvane {
namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::optional<SkinKind> button_kind(unsigned long style) {
    // Image-only buttons keep their own drawing.
    if (style & (BS_BITMAP | BS_ICON))
        return std::nullopt;
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return SkinKind::push_button;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return (style & BS_PUSHLIKE) ? SkinKind::push_button : SkinKind::check_box;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return (style & BS_PUSHLIKE) ? SkinKind::push_button : SkinKind::radio_button;
        case BS_GROUPBOX:
            return SkinKind::group_box;
        default:  // owner-drawn, user buttons, split buttons, command links
            return std::nullopt;
    }
}

bool is_simple_combo(unsigned long style) {
    return (style & 0x3) == CBS_SIMPLE;
}

}  // namespace

bool same_class_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<SkinKind> skin_kind_for(std::string_view class_name, unsigned long style,
                                      std::string_view parent_class, unsigned long parent_style) {
    if (same_class_name(class_name, "Button"))
        return button_kind(style);
    if (same_class_name(class_name, "Edit")) {
        if (same_class_name(parent_class, "SysIPAddress32"))
            return std::nullopt;
        return SkinKind::edit_box;
    }
    if (same_class_name(class_name, "ComboBox")) {
        if (is_simple_combo(style))
            return std::nullopt;
        return SkinKind::combo_box;
    }
    if (same_class_name(class_name, "ComboLBox")) {
        if (same_class_name(parent_class, "ComboBox") && is_simple_combo(parent_style))
            return std::nullopt;
        return SkinKind::combo_list;
    }
    if (same_class_name(class_name, "msctls_updown32"))
        return SkinKind::up_down;
    return std::nullopt;
}

CaptionPlacement caption_placement_for(SkinKind kind, unsigned long style) {
    CaptionPlacement placement{
        kind == SkinKind::push_button ? HorizontalPlace::centre : HorizontalPlace::left,
        VerticalPlace::middle};
    switch (style & BS_CENTER) {
        case BS_LEFT:
            placement.horizontal = HorizontalPlace::left;
            break;
        case BS_RIGHT:
            placement.horizontal = HorizontalPlace::right;
            break;
        case BS_CENTER:
            placement.horizontal = HorizontalPlace::centre;
            break;
        default:
            break;
    }
    switch (style & BS_VCENTER) {
        case BS_TOP:
            placement.vertical = VerticalPlace::top;
            break;
        case BS_BOTTOM:
            placement.vertical = VerticalPlace::bottom;
            break;
        default:  // BS_VCENTER, or none
            placement.vertical = VerticalPlace::middle;
            break;
    }
    return placement;
}

}  // namespace tolvane
