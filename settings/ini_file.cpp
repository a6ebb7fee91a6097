#include "settings/ini_file.h"

#include <windows.h>

namespace tolvane {

Text read_ini_text(const char* file, const char* section, const char* key,
                   const char* default_value) {
    char buffer[kIniReadBufferSize];
    buffer[0] = '\0';
    // An empty default goes to the platform as a null pointer.
    const char* fallback = (default_value && default_value[0]) ? default_value : nullptr;
    const DWORD n =
        GetPrivateProfileStringA(section, key, fallback, buffer, kIniReadBufferSize, file);
    if (n == 0)
        return Text();
    buffer[kIniReadBufferSize - 1] = '\0';
    return Text::copy_of(buffer);
}

bool write_ini_text(const char* file, const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value ? value : "", file) != FALSE;
}

bool is_switch_on(const char* value) noexcept {
    return compare_texts(value, kSwitchOn) == 0;
}

}  // namespace tolvane
