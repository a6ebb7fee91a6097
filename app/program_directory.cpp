#include "app/program_directory.h"

#include <windows.h>

namespace tolvane {

std::size_t last_path_separator(const char* path) noexcept {
    std::size_t last = kNoSeparator;
    if (path == nullptr)
        return last;
    for (std::size_t i = 0; path[i] != '\0'; ++i) {
        const auto b = static_cast<unsigned char>(path[i]);
        if (is_cp936_lead_byte(b)) {
            if (path[i + 1] == '\0')
                break;  // a lone lead byte ends the text
            ++i;
        } else if (b == '\\') {
            last = i;
        }
    }
    return last;
}

void enter_program_directory() noexcept {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;  // a cut path names no real directory
    const std::size_t separator = last_path_separator(path);
    if (separator == kNoSeparator)
        return;
    // "C:\x.exe" lives in "C:\", not in the drive's current directory "C:".
    const std::size_t keep = (separator == 2 && path[1] == ':') ? 3 : separator;
    path[keep] = '\0';
    SetCurrentDirectoryA(path);
}

}  // namespace tolvane
