#include "tests/support/process.h"

#include <winternl.h>

#include <utility>
#include <vector>

namespace tolvane::testing {

std::string build_directory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    // Test programs live in <build>\tests or below it.
    const std::size_t tests = p.rfind("\\tests\\");
    if (tests != std::string::npos)
        return p.substr(0, tests + 1);
    return p.substr(0, p.rfind('\\') + 1);
}

std::string build_path(const std::string& relative) {
    return build_directory() + relative;
}

ChildProcess ChildProcess::start(const std::string& program, const std::string& current_directory) {
    ChildProcess child;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string command = "\"" + program + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       current_directory.empty() ? nullptr : current_directory.c_str(), &si, &pi)) {
        child.process_ = pi.hProcess;
        child.thread_ = pi.hThread;
        child.id_ = pi.dwProcessId;
    }
    return child;
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      thread_(std::exchange(other.thread_, nullptr)),
      id_(std::exchange(other.id_, 0)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        kill();
        process_ = std::exchange(other.process_, nullptr);
        thread_ = std::exchange(other.thread_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

ChildProcess::~ChildProcess() {
    kill();
}

void ChildProcess::kill() {
    if (process_) {
        if (running()) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
        process_ = nullptr;
    }
    if (thread_) {
        CloseHandle(thread_);
        thread_ = nullptr;
    }
}

bool ChildProcess::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

namespace {

struct WindowSearch {
    DWORD process_id;
    const char* class_name;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->process_id)
        return TRUE;
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpiA(cls, search->class_name) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND ChildProcess::wait_for_window(const char* class_name, DWORD timeout_ms) const {
    const DWORD start = GetTickCount();
    do {
        WindowSearch search = {id_, class_name, nullptr};
        EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
        if (search.found && IsWindowVisible(search.found))
            return search.found;
        if (!running())
            return nullptr;
        Sleep(20);
    } while (GetTickCount() - start < timeout_ms);
    return nullptr;
}

HWND ChildProcess::wait_for_main_window(DWORD timeout_ms) const {
    return wait_for_window("TolvaneMainWindow", timeout_ms);
}

std::optional<DWORD> ChildProcess::wait_for_exit(DWORD timeout_ms) const {
    if (!process_ || WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::string ChildProcess::current_directory() const {
    using QueryProcess = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    if (!query || !process_)
        return {};
    PROCESS_BASIC_INFORMATION basic = {};
    if (query(process_, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return {};
    // 32-bit layouts: PEB.ProcessParameters at 0x10; in the parameters,
    // CurrentDirectory.DosPath (a UNICODE_STRING) at 0x24.
    DWORD parameters = 0;
    SIZE_T got = 0;
    if (!ReadProcessMemory(
            process_, static_cast<const char*>(static_cast<void*>(basic.PebBaseAddress)) + 0x10,
            &parameters, sizeof parameters, &got)) {
        return {};
    }
    struct {
        USHORT length;
        USHORT maximum;
        DWORD buffer;
    } dos_path = {};
    if (!ReadProcessMemory(process_,
                           reinterpret_cast<const void*>(static_cast<UINT_PTR>(parameters) + 0x24),
                           &dos_path, sizeof dos_path, &got)) {
        return {};
    }
    std::wstring wide(dos_path.length / 2, L'\0');
    if (!ReadProcessMemory(process_,
                           reinterpret_cast<const void*>(static_cast<UINT_PTR>(dos_path.buffer)),
                           wide.data(), dos_path.length, &got)) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), narrow.data(), n,
                        nullptr, nullptr);
    return narrow;
}

std::string window_text(HWND window) {
    char text[1024] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

}  // namespace tolvane::testing
