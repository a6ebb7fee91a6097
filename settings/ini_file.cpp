#include "settings/ini_file.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "app/cp936.h"
#include "settings/profile_string.h"

namespace tolvane {

Text read_ini_text(const char* file, const char* section, const char* key,
                   const char* default_value) {
    // Zero-filled: when the platform cuts a value inside a double-byte
    // character it may leave the byte before its terminator unwritten, and
    // still count it.
    char buffer[kIniReadBufferSize] = {};
    // An empty default goes to the platform as a null pointer.
    const char* fallback = (default_value && default_value[0]) ? default_value : nullptr;
    const DWORD n = get_profile_string(section, key, fallback, buffer, kIniReadBufferSize, file);
    // The terminator, not the count, ends what the platform wrote.
    std::size_t length = strnlen(buffer, std::min<std::size_t>(n, kIniReadBufferSize - 1));
    if (n >= kIniReadBufferSize - 1) {
        // Cut by the buffer: end on a whole character, so that a later save
        // does not store half of one.
        length = cp936_whole_length(buffer, length);
    }
    Text value = Text::copy_of(buffer, length);
    // The password is read here too.
    SecureZeroMemory(buffer, sizeof buffer);
    return value;
}

bool write_ini_text(const char* file, const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value ? value : "", file) != FALSE;
}

bool is_switch_on(const char* value) noexcept {
    return compare_texts(value, kSwitchOn) == 0;
}

}  // namespace tolvane
