// The save command and the auto-start shortcut in the Startup folder.
#pragma once

#include "app/text.h"

namespace tolvane {

inline constexpr char kShortcutName[] = "ADSL拨号.lnk";
inline constexpr char kShortcutTarget[] = "C:\\Program Files\\adsl\\ADSL.EXE";
inline constexpr char kShortcutDescription[] = "Harlith 精品奉献";

// The click of 按钮5.
void handle_save_clicked();

// The current user's Startup folder ending in a backslash; empty when it
// cannot be had.
Text startup_folder_path();
// Appends a backslash unless the path is empty or already ends in one.
Text with_trailing_backslash(const char* path);

bool create_shortcut(const char* link_file, const char* target, const char* description);

}  // namespace tolvane
