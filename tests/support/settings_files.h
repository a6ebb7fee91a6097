// The program's fixed files in the test prefix.
#pragma once

#include <string>

namespace tolvane::testing {

inline constexpr char kSettingsPath[] = "C:\\windows\\adsl.ini";

void remove_settings_file();
// Writes the bytes as the whole file.
void write_settings_file(const std::string& bytes);
// The whole file, or empty when there is none.
std::string read_settings_file();
bool settings_file_exists();

}  // namespace tolvane::testing
