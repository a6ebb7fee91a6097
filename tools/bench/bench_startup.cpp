// Start-up to a visible window, memory after start and CPU while idle, of
// ADSL.EXE against the plain Win32 yardstick, measured in one run (A B A B).
// usage: bench_startup ADSL.EXE plain_window.exe [rounds] [idle-seconds]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/bench/bench_common.h"

namespace {

struct Sample {
    double startup_ms;
    double memory_kb;
};

bool sample(const std::string& program, const char* cls, Sample& out) {
    bench::Process p;
    const double start = bench::now_ms();
    if (!p.start(program))
        return false;
    HWND window = bench::wait_for_window(p.pi.dwProcessId, cls);
    if (!window)
        return false;
    out.startup_ms = bench::now_ms() - start;
    Sleep(500);  // settled: first paints done
    out.memory_kb = bench::working_set_kb(p.pi.hProcess);
    bench::close_and_wait(window, p.pi.hProcess);
    return true;
}

double idle_cpu_ms(const std::string& program, const char* cls, DWORD seconds) {
    bench::Process p;
    if (!p.start(program))
        return -1;
    HWND window = bench::wait_for_window(p.pi.dwProcessId, cls);
    if (!window)
        return -1;
    Sleep(1000);
    const double before = bench::cpu_ms(p.pi.hProcess);
    Sleep(seconds * 1000);
    const double used = bench::cpu_ms(p.pi.hProcess) - before;
    bench::close_and_wait(window, p.pi.hProcess);
    return used;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: bench_startup ADSL.EXE plain_window.exe [rounds] [idle-seconds]\n");
        return 2;
    }
    const std::string adsl = argv[1], plain = argv[2];
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 15;
    const DWORD idle_seconds = argc > 4 ? static_cast<DWORD>(std::atoi(argv[4])) : 10;

    // One unmeasured start of each warms the caches.
    Sample s;
    sample(adsl, "TolvaneMainWindow", s);
    sample(plain, "PlainBenchWindow", s);

    std::vector<double> a_start, b_start, a_mem, b_mem;
    for (int i = 0; i < rounds; ++i) {
        if (sample(adsl, "TolvaneMainWindow", s)) {
            a_start.push_back(s.startup_ms);
            a_mem.push_back(s.memory_kb);
        }
        if (sample(plain, "PlainBenchWindow", s)) {
            b_start.push_back(s.startup_ms);
            b_mem.push_back(s.memory_kb);
        }
    }
    const double as = bench::median(a_start), bs = bench::median(b_start);
    const double am = bench::median(a_mem), bm = bench::median(b_mem);
    std::printf(
        "start-up to visible window (median of %d): ADSL.EXE %.1f ms, plain %.1f ms, ratio %.2f\n",
        rounds, as, bs, bs > 0 ? as / bs : 0);
    std::printf(
        "working set after start (median of %d):   ADSL.EXE %.0f KB, plain %.0f KB, ratio %.2f\n",
        rounds, am, bm, bm > 0 ? am / bm : 0);
    const double idle_a = idle_cpu_ms(adsl, "TolvaneMainWindow", idle_seconds);
    const double idle_b = idle_cpu_ms(plain, "PlainBenchWindow", idle_seconds);
    std::printf("CPU time while idle for %lu s:             ADSL.EXE %.1f ms, plain %.1f ms\n",
                static_cast<unsigned long>(idle_seconds), idle_a, idle_b);
    return 0;
}
