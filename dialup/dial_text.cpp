#include "dialup/dial_text.h"

#include <climits>
#include <cstring>

namespace tolvane {

const char* dial_state_text(RASCONNSTATE state, DWORD error) noexcept {
    if (error != 0)
        return state == RASCS_AuthNotify ? "用户验证失败" : "有错误发生";
    switch (state) {
        case RASCS_OpenPort:
            return "正在打开端口";
        case RASCS_PortOpened:
            return "端口被打开";
        case RASCS_ConnectDevice:
            return "正在连接设备";
        case RASCS_DeviceConnected:
            return "设备被连接";
        case RASCS_Authenticate:
            return "正在验证用户";
        case RASCS_Authenticated:
            return "用户验证通过";
        case RASCS_Connected:
            return "连接成功";
        case RASCS_Disconnected:
            return "连接被断开";
        default:
            return nullptr;
    }
}

long parse_entry_index(const char* text) noexcept {
    if (text == nullptr)
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        const int digit = *p - '0';
        if (value > (LONG_MAX - digit) / 10) {
            value = LONG_MAX;  // far beyond any phonebook
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

bool copy_into_field(char* field, std::size_t field_size, const char* text) noexcept {
    if (field_size == 0)
        return false;
    const char* source = text ? text : "";
    const std::size_t length = std::strlen(source);
    if (length >= field_size)
        return false;
    std::memcpy(field, source, length + 1);
    return true;
}

}  // namespace tolvane
