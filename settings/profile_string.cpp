#include "settings/profile_string.h"

namespace tolvane {

DWORD get_profile_string(const char* section, const char* key, const char* default_value,
                         char* buffer, DWORD size, const char* file) {
    return GetPrivateProfileStringA(section, key, default_value, buffer, size, file);
}

}  // namespace tolvane
