// The dial soak: connect and hang up the running ADSL.EXE many times on the
// simulated line, and print its handles, threads and memory at the start and
// at the end. Nothing should grow.
// usage: bench_soak ADSL.EXE [cycles]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/control_table.h"
#include "tools/bench/bench_common.h"
#include "tools/simline/line_control.h"

namespace {

using tolvane::Control;

std::string text_of(HWND window) {
    char text[128] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

bool wait_for_text(HWND window, const char* text, DWORD timeout_ms) {
    const double start = bench::now_ms();
    while (bench::now_ms() - start < timeout_ms) {
        if (text_of(window) == text)
            return true;
        Sleep(0);
    }
    return false;
}

struct Figures {
    DWORD handles, threads;
    double memory_kb;
};

Figures figures(const bench::Process& p) {
    return {bench::handle_count(p.pi.hProcess), bench::thread_count(p.pi.dwProcessId),
            bench::working_set_kb(p.pi.hProcess)};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_soak ADSL.EXE [cycles]\n");
        return 2;
    }
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 1000;
    namespace line = tolvane::line_control;
    if (!line::use_scenario(line::temporary_scenario_path("soak.scenario"),
                            "entry \"宽带连接\"\nstate-time 0\nhangup-time 0\n")) {
        std::fprintf(stderr, "bench_soak: the simulated line is not available: %s\n",
                     line::scenario_problem().c_str());
        return 1;
    }
    DeleteFileA("C:\\windows\\adsl.ini");

    bench::Process p;
    if (!p.start(argv[1]))
        return 1;
    HWND window = bench::wait_for_window(p.pi.dwProcessId, "TolvaneMainWindow");
    if (!window)
        return 1;
    HWND connect = GetDlgItem(window, tolvane::control_identifier(Control::按钮2));
    HWND hang_up = GetDlgItem(window, tolvane::control_identifier(Control::按钮3));
    HWND status = GetDlgItem(window, tolvane::control_identifier(Control::标签1));

    // One cycle first, so that everything a dial loads once is loaded.
    auto cycle = [&] {
        PostMessageA(connect, BM_CLICK, 0, 0);
        if (!wait_for_text(status, "连接成功", 10000))
            return false;
        PostMessageA(hang_up, BM_CLICK, 0, 0);
        return wait_for_text(status, "连接已断开", 10000);
    };
    if (!cycle())
        return 1;
    Sleep(300);
    const Figures before = figures(p);
    const double start = bench::now_ms();
    int done = 0;
    for (; done < cycles; ++done) {
        if (!cycle())
            break;
    }
    const double elapsed = bench::now_ms() - start;
    Sleep(300);
    const Figures after = figures(p);
    std::printf("dial soak: %d of %d connect/hang-up cycles in %.1f s (%.1f ms each)\n", done,
                cycles, elapsed / 1000, done ? elapsed / done : 0);
    std::printf("  handles %lu -> %lu, threads %lu -> %lu, working set %.0f KB -> %.0f KB\n",
                static_cast<unsigned long>(before.handles),
                static_cast<unsigned long>(after.handles),
                static_cast<unsigned long>(before.threads),
                static_cast<unsigned long>(after.threads), before.memory_kb, after.memory_kb);
    bench::close_and_wait(window, p.pi.hProcess);
    line::use_default_scenario();
    return done == cycles ? 0 : 1;
}
