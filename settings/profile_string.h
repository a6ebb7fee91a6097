// The platform's profile read, in a file of its own so that a test can link
// a stand-in that cuts long values the way the platform was seen to.
#pragma once

#include <windows.h>

namespace tolvane {

DWORD get_profile_string(const char* section, const char* key, const char* default_value,
                         char* buffer, DWORD size, const char* file);

}  // namespace tolvane
