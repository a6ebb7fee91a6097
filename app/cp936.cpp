#include "app/cp936.h"

namespace tolvane {

std::size_t cp936_whole_length(const char* text, std::size_t length) noexcept {
    if (text == nullptr)
        return 0;
    std::size_t i = 0;
    while (i < length) {
        if (is_cp936_lead_byte(static_cast<unsigned char>(text[i]))) {
            if (i + 1 >= length)
                return i;
            i += 2;
        } else {
            ++i;
        }
    }
    return length;
}

}  // namespace tolvane
