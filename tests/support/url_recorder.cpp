// Stands in for the browser in the hot-key tests: appends the address it is
// given (its command line after the program's own name, without quotes) as
// one line to opened_pages.log next to itself.
#include <windows.h>

#include <string>

namespace {

std::string argument_of(const char* line) {
    std::string s = line ? line : "";
    std::size_t i = 0;
    if (!s.empty() && s[0] == '"') {
        i = s.find('"', 1);
        i = i == std::string::npos ? s.size() : i + 1;
    } else {
        while (i < s.size() && s[i] != ' ' && s[i] != '\t')
            ++i;
    }
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    std::string argument = s.substr(i);
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
        argument = argument.substr(1, argument.size() - 2);
    return argument;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return 1;
    std::string log = path;
    log = log.substr(0, log.rfind('\\') + 1) + "opened_pages.log";
    const std::string line = argument_of(GetCommandLineA()) + "\r\n";
    // Two recorders may run at once; appends of one write each do not mix.
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
