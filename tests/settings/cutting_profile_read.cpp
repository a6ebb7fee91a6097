#include "tests/settings/cutting_profile_read.h"

#include <cstring>
#include <vector>

#include "app/cp936.h"
#include "settings/profile_string.h"

namespace tolvane {
namespace {

testing::ProfileCut g_cut = testing::ProfileCut::platform;

}  // namespace

void testing::set_profile_cut(ProfileCut cut) {
    g_cut = cut;
}

DWORD get_profile_string(const char* section, const char* key, const char* default_value,
                         char* buffer, DWORD size, const char* file) {
    if (g_cut == testing::ProfileCut::platform || size == 0)
        return GetPrivateProfileStringA(section, key, default_value, buffer, size, file);

    std::vector<char> whole(1 << 20);
    const DWORD n = GetPrivateProfileStringA(section, key, default_value, whole.data(),
                                             static_cast<DWORD>(whole.size()), file);
    if (n < size) {
        std::memcpy(buffer, whole.data(), n + 1);
        return n;
    }
    std::size_t written = size - 1;
    if (g_cut == testing::ProfileCut::leaves_byte_before_terminator)
        written = cp936_whole_length(whole.data(), written);
    std::memcpy(buffer, whole.data(), written);
    buffer[size - 1] = '\0';
    return size - 1;
}

}  // namespace tolvane
