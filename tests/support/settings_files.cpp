#include "tests/support/settings_files.h"

#include <windows.h>

#include <fstream>
#include <iterator>

namespace tolvane::testing {

void remove_settings_file() {
    DeleteFileA(kSettingsPath);
}

void write_settings_file(const std::string& bytes) {
    std::ofstream out(kSettingsPath, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string read_settings_file() {
    std::ifstream in(kSettingsPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool settings_file_exists() {
    return GetFileAttributesA(kSettingsPath) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tolvane::testing
