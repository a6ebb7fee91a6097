// The main window's thirteen controls: their names, kinds, places and texts.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace tolvane {

// The controls, in tab order first, then the labels. `main_window` names the
// main window itself where an operation takes a control.
enum class Control : int {
    编辑框2,
    编辑框3,
    按钮2,
    按钮3,
    选择框1,
    按钮1,
    选择框2,
    按钮5,
    标签3,
    标签2,
    标签5,
    标签1,
    标签6,
    main_window,
};

inline constexpr std::size_t kControlCount = 13;
inline constexpr std::size_t kTabOrderLength = 8;

enum class ControlKind { edit_box, masked_edit_box, button, check_box, label };

struct ControlDefinition {
    Control control;
    ControlKind kind;
    int left, top, width, height;
    const char* text;
    bool visible;
    bool tab_stop;
};

inline constexpr std::array<ControlDefinition, kControlCount> kControlDefinitions = {{
    {Control::编辑框2, ControlKind::edit_box, 45, 18, 144, 32, "", true, true},
    {Control::编辑框3, ControlKind::masked_edit_box, 45, 62, 144, 32, "", true, true},
    {Control::按钮2, ControlKind::button, 208, 17, 96, 32, "连接", true, true},
    {Control::按钮3, ControlKind::button, 208, 53, 96, 32, "挂断", true, true},
    {Control::选择框1, ControlKind::check_box, 15, 105, 96, 16, "记住账号密码", true, true},
    {Control::按钮1, ControlKind::button, 208, 126, 96, 32, "打开网页(F8)", true, true},
    {Control::选择框2, ControlKind::check_box, 15, 129, 96, 16, "开机自动连接", true, true},
    {Control::按钮5, ControlKind::button, 208, 89, 96, 32, "保存", true, true},
    {Control::标签3, ControlKind::label, 14, 24, 26, 24, "账号", true, false},
    {Control::标签2, ControlKind::label, 13, 66, 27, 24, "密码", true, false},
    {Control::标签5, ControlKind::label, 117, 106, 53, 15, "连接状态", true, false},
    {Control::标签1, ControlKind::label, 117, 128, 87, 18, "", true, false},
    {Control::标签6, ControlKind::label, 16, 8, 32, 8, "标签", false, false},
}};

constexpr std::size_t control_index(Control c) noexcept {
    return static_cast<std::size_t>(c);
}
constexpr const ControlDefinition& control_definition(Control c) noexcept {
    return kControlDefinitions[control_index(c)];
}

// The control identifier given to CreateWindowExA; notifications are routed
// by window handle, the identifier only keeps the children apart.
constexpr int control_identifier(Control c) noexcept {
    return 1001 + static_cast<int>(c);
}

// Label text colours (COLORREF).
inline constexpr unsigned long kLabelTextColour = 0x000000;
inline constexpr unsigned long kStatusLabelTextColour = 0xFF8800;  // RGB(0, 136, 255)

// Walks a tab order of `count` positions from the one after (forward) or
// before (backward) `current`, wrapping, to the first position `eligible`
// accepts. Without a current position the walk starts at the first
// (forward) or last position. None when no position is eligible.
template <typename Eligible>
std::optional<std::size_t> step_tab_order(std::size_t count, std::optional<std::size_t> current,
                                          bool forward, Eligible&& eligible) {
    if (count == 0)
        return std::nullopt;
    std::size_t position;
    if (current && *current < count) {
        position = forward ? (*current + 1) % count : (*current + count - 1) % count;
    } else {
        position = forward ? 0 : count - 1;
    }
    for (std::size_t tried = 0; tried < count; ++tried) {
        if (eligible(position))
            return position;
        position = forward ? (position + 1) % count : (position + count - 1) % count;
    }
    return std::nullopt;
}

}  // namespace tolvane
