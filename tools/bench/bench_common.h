// Small helpers shared by the benchmark programs.
#pragma once

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace bench {

inline double now_ms() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Process {
    PROCESS_INFORMATION pi{};
    bool start(const std::string& program) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string line = "\"" + program + "\"";
        return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &si, &pi) != FALSE;
    }
    ~Process() {
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(pi.hProcess, 1);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
};

struct Search {
    DWORD pid;
    const char* cls;
    HWND found;
};

inline BOOL CALLBACK match(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == s->pid && lstrcmpA(cls, s->cls) == 0 && IsWindowVisible(w)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// The process's visible top-level window of the class, polling every ms.
inline HWND wait_for_window(DWORD pid, const char* cls, DWORD timeout_ms = 20000) {
    const double start = now_ms();
    while (now_ms() - start < timeout_ms) {
        Search s = {pid, cls, nullptr};
        EnumWindows(match, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        Sleep(1);
    }
    return nullptr;
}

inline double working_set_kb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / 1024.0;
}

inline DWORD thread_count(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD n = 0;
    for (BOOL ok = Thread32First(snapshot, &entry); ok; ok = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == pid)
            ++n;
    }
    CloseHandle(snapshot);
    return n;
}

// The handles a process holds. Wine's GetProcessHandleCount always says 0;
// the system's handle list (NtQuerySystemInformation, class 16) is right on
// both, so count the process's entries there.
inline DWORD handle_count(HANDLE process) {
    struct Entry {
        ULONG process_id;
        UCHAR object_type;
        UCHAR flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    const DWORD pid = GetProcessId(process);
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; query && attempt < 6; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            ULONG count = 0;
            std::memcpy(&count, buffer.data(), sizeof count);
            const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
            DWORD n = 0;
            for (ULONG i = 0; i < count; ++i)
                n += entries[i].process_id == pid ? 1 : 0;
            return n;
        }
        buffer.resize(buffer.size() * 2);
    }
    DWORD n = 0;
    GetProcessHandleCount(process, &n);
    return n;
}

inline double cpu_ms(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](FILETIME t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e4;
    };
    return ms(kernel) + ms(user);
}

inline void close_and_wait(HWND window, HANDLE process) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process, 10000);
}

}  // namespace bench
