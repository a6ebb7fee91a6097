// The main window's display properties: visible, and position (0 normal,
// 1 restore and centre, 2 minimised, 3 maximised).
#pragma once

namespace tolvane {

inline constexpr int kPositionNormal = 0;
inline constexpr int kPositionCentred = 1;
inline constexpr int kPositionMinimised = 2;
inline constexpr int kPositionMaximised = 3;

bool is_main_window_visible();
void set_main_window_visible(bool visible);
// 2 when minimised, else 3 when maximised, else 0; never 1.
int main_window_position();
void set_main_window_position(int code);

// The move event: a minimised main window leaves the screen and the task bar
// while the tray icon is there to bring it back.
void handle_window_moved();

}  // namespace tolvane
