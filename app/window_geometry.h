// Placement arithmetic for the main window.
#pragma once

namespace tolvane {

inline constexpr int kMainWindowWidth = 327;
inline constexpr int kMainWindowHeight = 194;

// The origin that centres `size` in `screen`; signed division truncating
// toward zero, so an odd difference leaves the extra pixel after the window.
constexpr int centred_origin(int screen, int size) noexcept {
    return (screen - size) / 2;
}

}  // namespace tolvane
