#include "tests/support/program_window.h"

namespace tolvane::testing {

RunningProgram::RunningProgram() : process_(ChildProcess::start(build_path("ADSL.EXE"), "C:\\")) {
    if (process_.started())
        main_ = process_.wait_for_main_window();
}

HWND RunningProgram::control(Control c) const {
    return GetDlgItem(main_, control_identifier(c));
}

std::string RunningProgram::text(Control c) const {
    return window_text(control(c));
}

bool RunningProgram::enabled(Control c) const {
    return IsWindowEnabled(control(c)) != 0;
}

bool RunningProgram::checked(Control c) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control(c), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return result == BST_CHECKED;
}

void RunningProgram::set_text(Control c, const std::string& text) {
    SendMessageTimeoutA(control(c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
}

void RunningProgram::set_checked(Control c, bool checked) {
    SendMessageTimeoutA(control(c), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0,
                        SMTO_ABORTIFHUNG, 5000, nullptr);
}

void RunningProgram::click(Control button) {
    PostMessageA(control(button), BM_CLICK, 0, 0);
}

bool RunningProgram::wait_for_status(const std::string& text, DWORD timeout_ms) const {
    const DWORD start = GetTickCount();
    do {
        if (this->text(Control::标签1) == text)
            return true;
        Sleep(5);
    } while (GetTickCount() - start < timeout_ms);
    return false;
}

std::vector<std::string> RunningProgram::watch_status_until(const std::string& last,
                                                            DWORD timeout_ms) const {
    std::vector<std::string> seen;
    const DWORD start = GetTickCount();
    do {
        const std::string now = text(Control::标签1);
        if (seen.empty() || seen.back() != now)
            seen.push_back(now);
        if (now == last)
            break;
        Sleep(3);
    } while (GetTickCount() - start < timeout_ms);
    return seen;
}

std::optional<DWORD> RunningProgram::close(DWORD timeout_ms) {
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return process_.wait_for_exit(timeout_ms);
}

}  // namespace tolvane::testing
