// Start-up and memory of ADSL.EXE against the plain Win32 yardstick, in one
// run: file sizes; private (anonymous) memory and unique set size after
// start, read from Linux's account of the Wine process; time to a painted
// window and CPU used by then, over many quick A/B pairs (either program
// first in turn); CPU while idle.
// usage: bench_startup ADSL.EXE plain_window.exe [pairs] [idle-seconds] [memory-runs]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/bench/bench_common.h"

namespace {

struct Program {
    const char* name;
    std::string path;
    const char* window_class;
};

BOOL CALLBACK note_unpainted(HWND child, LPARAM param) {
    if (GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(param) = false;
        return FALSE;
    }
    return TRUE;
}

// Shown, and no part of the window or its controls waits for a paint.
bool painted(HWND window) {
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE))
        return false;
    bool all = true;
    EnumChildWindows(window, note_unpainted, reinterpret_cast<LPARAM>(&all));
    return all;
}

// Waits without polling until the program first waits for input, then
// polls each millisecond until its window is painted.
HWND wait_until_painted(const bench::Process& p, const char* cls, DWORD timeout_ms = 20000) {
    WaitForInputIdle(p.pi.hProcess, timeout_ms);
    const double start = bench::now_ms();
    while (bench::now_ms() - start < timeout_ms) {
        bench::Search s = {p.pi.dwProcessId, cls, nullptr};
        EnumWindows(bench::match, reinterpret_cast<LPARAM>(&s));
        if (s.found && painted(s.found))
            return s.found;
        Sleep(1);
    }
    return nullptr;
}

std::string read_whole_file(const std::string& path) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    return text;
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return s;
}

// The Linux process running the program: Wine shows a process's Windows
// command line as its Linux one, so look for the program's path as the
// first word there (this program has it among its arguments).
std::string linux_process_of(const std::string& program) {
    const std::string wanted = lower(program);
    std::string found;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do {
        const std::string name = entry.cFileName;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string line = read_whole_file("Z:\\proc\\" + name + "\\cmdline");
        std::string first = line.substr(0, line.find('\0'));
        if (first.size() >= 2 && first.front() == '"' && first.back() == '"')
            first = first.substr(1, first.size() - 2);
        if (lower(first) == wanted)
            found = name;
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// CPU time of all the process's threads, from the scheduler's nanosecond
// account; Wine's GetProcessTimes of another process counts in 10 ms ticks.
double linux_cpu_ms(const std::string& pid) {
    const std::string tasks = "Z:\\proc\\" + pid + "\\task\\";
    double ns = 0;
    bool any = false;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((tasks + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return -1;
    do {
        if (entry.cFileName[0] < '0' || entry.cFileName[0] > '9')
            continue;
        const std::string stat = read_whole_file(tasks + entry.cFileName + "\\schedstat");
        if (!stat.empty()) {
            ns += std::atof(stat.c_str());
            any = true;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return any ? ns / 1e6 : -1;
}

struct StartSample {
    double painted_ms;
    double cpu_ms;
};

bool time_start(const Program& program, StartSample& out) {
    bench::Process p;
    const double start = bench::now_ms();
    if (!p.start(program.path))
        return false;
    HWND window = wait_until_painted(p, program.window_class);
    if (!window)
        return false;
    out.painted_ms = bench::now_ms() - start;
    // The program waits for input now, so the search costs it nothing.
    const std::string pid = linux_process_of(program.path);
    out.cpu_ms = pid.empty() ? -1 : linux_cpu_ms(pid);
    if (out.cpu_ms < 0)
        out.cpu_ms = bench::cpu_ms(p.pi.hProcess);
    bench::close_and_wait(window, p.pi.hProcess);
    return true;
}

// A "Name:   123 kB" figure of smaps_rollup.
double kb_field(const std::string& text, const char* name) {
    const std::size_t at = text.find(std::string("\n") + name + ":");
    if (at == std::string::npos)
        return -1;
    return std::atof(text.c_str() + at + std::strlen(name) + 2);
}

struct MemorySample {
    double anonymous_kb;
    double unique_kb;  // private clean + private dirty
};

bool measure_memory(const Program& program, MemorySample& out) {
    bench::Process p;
    if (!p.start(program.path))
        return false;
    HWND window = wait_until_painted(p, program.window_class);
    if (!window)
        return false;
    Sleep(500);  // settled
    const std::string pid = linux_process_of(program.path);
    const std::string rollup =
        pid.empty() ? std::string() : read_whole_file("Z:\\proc\\" + pid + "\\smaps_rollup");
    out.anonymous_kb = kb_field("\n" + rollup, "Anonymous");
    out.unique_kb =
        kb_field("\n" + rollup, "Private_Clean") + kb_field("\n" + rollup, "Private_Dirty");
    bench::close_and_wait(window, p.pi.hProcess);
    return out.anonymous_kb >= 0;
}

double idle_cpu_ms(const Program& program, DWORD seconds) {
    bench::Process p;
    if (!p.start(program.path))
        return -1;
    HWND window = wait_until_painted(p, program.window_class);
    if (!window)
        return -1;
    Sleep(1000);
    const double before = bench::cpu_ms(p.pi.hProcess);
    Sleep(seconds * 1000);
    const double used = bench::cpu_ms(p.pi.hProcess) - before;
    bench::close_and_wait(window, p.pi.hProcess);
    return used;
}

double file_size(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) |
                               data.nFileSizeLow);
}

void print_row(const char* figure, double a, double b, const char* unit, int decimals) {
    std::printf("  %-40s %12.*f %-5s %12.*f %-5s", figure, decimals, a, unit, decimals, b, unit);
    if (b > 0)
        std::printf(" %6.2f\n", a / b);
    else
        std::printf(" %6s\n", "-");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: bench_startup ADSL.EXE plain_window.exe [pairs] [idle-seconds] "
                     "[memory-runs]\n");
        return 2;
    }
    const Program adsl = {"ADSL.EXE", argv[1], "TolvaneMainWindow"};
    const Program plain = {"plain", argv[2], "PlainBenchWindow"};
    const int pairs = argc > 3 ? std::atoi(argv[3]) : 100;
    const DWORD idle_seconds = argc > 4 ? static_cast<DWORD>(std::atoi(argv[4])) : 10;
    const int memory_runs = argc > 5 ? std::atoi(argv[5]) : 5;

    // One unmeasured start of each warms the caches.
    StartSample s;
    if (!time_start(adsl, s) || !time_start(plain, s)) {
        std::fprintf(stderr, "bench_startup: a program did not come up\n");
        return 1;
    }

    std::vector<double> a_anon, b_anon, a_unique, b_unique;
    for (int i = 0; i < memory_runs; ++i) {
        MemorySample m;
        if (measure_memory(adsl, m)) {
            a_anon.push_back(m.anonymous_kb);
            a_unique.push_back(m.unique_kb);
        }
        if (measure_memory(plain, m)) {
            b_anon.push_back(m.anonymous_kb);
            b_unique.push_back(m.unique_kb);
        }
    }

    std::vector<double> a_paint, b_paint, a_cpu, b_cpu;
    int failed = 0;
    for (int i = 0; i < pairs; ++i) {
        // Either program first in turn, so that neither always follows the other.
        for (int k = 0; k < 2; ++k) {
            const bool first_adsl = (i % 2 == 0) == (k == 0);
            const Program& program = first_adsl ? adsl : plain;
            if (!time_start(program, s)) {
                ++failed;
                continue;
            }
            (first_adsl ? a_paint : b_paint).push_back(s.painted_ms);
            (first_adsl ? a_cpu : b_cpu).push_back(s.cpu_ms);
        }
    }

    std::printf("  %-40s %18s %18s %6s\n", "figure", "ADSL.EXE", "plain", "ratio");
    print_row("file size", file_size(adsl.path), file_size(plain.path), "bytes", 0);
    char label[96];
    std::snprintf(label, sizeof label, "private (anonymous) memory, median of %d",
                  static_cast<int>(a_anon.size()));
    print_row(label, bench::median(a_anon), bench::median(b_anon), "KB", 0);
    std::snprintf(label, sizeof label, "unique set size, median of %d",
                  static_cast<int>(a_unique.size()));
    print_row(label, bench::median(a_unique), bench::median(b_unique), "KB", 0);
    std::snprintf(label, sizeof label, "time to painted window, median of %d",
                  static_cast<int>(a_paint.size()));
    print_row(label, bench::median(a_paint), bench::median(b_paint), "ms", 1);
    std::snprintf(label, sizeof label, "CPU at start-up, median of %d",
                  static_cast<int>(a_cpu.size()));
    print_row(label, bench::median(a_cpu), bench::median(b_cpu), "ms", 1);
    const double idle_a = idle_cpu_ms(adsl, idle_seconds);
    const double idle_b = idle_cpu_ms(plain, idle_seconds);
    std::snprintf(label, sizeof label, "CPU while idle for %lu s",
                  static_cast<unsigned long>(idle_seconds));
    print_row(label, idle_a, idle_b, "ms", 1);
    if (failed)
        std::printf("  (%d starts did not come up and are left out)\n", failed);
    return failed ? 1 : 0;
}
