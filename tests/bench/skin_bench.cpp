// Benchmark of the control skin (not a test): the time of full repaints of
// the main window with the skin on against the same window with it off,
// and the GDI objects before and after 10,000 hover, press and focus
// cycles. Run by make bench (tools/bench/run.sh).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/control_access.h"
#include "style/skin_testing.h"
#include "style/visual_style.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

constexpr int kBlocks = 8;  // per side, alternating A B A B
constexpr int kRepaintsPerBlock = 100;
constexpr int kCycles = 10000;

double seconds_now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds per full repaint of the window and all its controls.
double time_repaints(HWND window) {
    const double start = seconds_now();
    for (int i = 0; i < kRepaintsPerBlock; ++i) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    GdiFlush();
    return (seconds_now() - start) * 1000.0 / kRepaintsPerBlock;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

struct GdiCounts {
    long skin;  // the skin's own live objects
    DWORD gdi;  // the process's, where the system counts them
    DWORD user;
};

GdiCounts gdi_counts() {
    return {live_skin_gdi_objects(), GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

void print_counts(const char* when, const GdiCounts& c) {
    std::printf("  %-28s skin's live GDI objects %ld, GetGuiResources GDI %lu, USER %lu\n", when,
                c.skin, c.gdi, c.user);
}

}  // namespace

int main() {
    remove_settings_file();
    ScopedMainWindow main;
    if (!main.built()) {
        std::fprintf(stderr, "skin_bench: the main window could not be built\n");
        return 1;
    }
    make_foreground(main.window());
    pump_for(200);
    HWND window = main.window();

    // Warm both sides up once.
    set_visual_style(0);
    time_repaints(window);
    set_visual_style(2);
    time_repaints(window);

    std::vector<double> on, off;
    for (int block = 0; block < kBlocks; ++block) {
        set_visual_style(2);
        on.push_back(time_repaints(window));
        set_visual_style(0);
        off.push_back(time_repaints(window));
    }
    set_visual_style(2);
    pump_for(50);

    const double on_median = median(on);
    const double off_median = median(off);
    std::printf("Full repaints of the main window (%d blocks of %d per side, A B A B):\n", kBlocks,
                kRepaintsPerBlock);
    std::printf("  skin on  (A): median %.3f ms per repaint  [", on_median);
    for (double v : on)
        std::printf(" %.3f", v);
    std::printf(" ]\n  skin off (B): median %.3f ms per repaint  [", off_median);
    for (double v : off)
        std::printf(" %.3f", v);
    std::printf(" ]\n  ratio on/off: %.2f\n", off_median > 0 ? on_median / off_median : 0.0);

    HWND button = main.control(Control::按钮2);
    HWND other = main.control(Control::按钮3);
    HWND box = main.control(Control::选择框1);
    std::printf("GDI objects around %d hover, press and focus cycles:\n", kCycles);
    const GdiCounts before = gdi_counts();
    print_counts("before:", before);
    const double start = seconds_now();
    for (int i = 0; i < kCycles; ++i) {
        SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));  // hot
        SendMessageA(button, BM_SETSTATE, TRUE, 0);                 // pressed
        SendMessageA(button, BM_SETSTATE, FALSE, 0);
        SendMessageA(button, WM_MOUSELEAVE, 0, 0);
        SetFocus(button);  // focused
        SetFocus(other);
        SendMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        SendMessageA(box, BM_SETCHECK, i % 2 ? BST_UNCHECKED : BST_CHECKED, 0);
        SendMessageA(box, WM_MOUSELEAVE, 0, 0);
        if (i % 1000 == 999)
            pump_for(1);
    }
    const double elapsed = seconds_now() - start;
    pump_for(50);
    const GdiCounts after = gdi_counts();
    print_counts("after:", after);
    std::printf("  growth: skin's %ld, GetGuiResources GDI %ld (a stub that reads 0 on Wine)\n",
                after.skin - before.skin,
                static_cast<long>(after.gdi) - static_cast<long>(before.gdi));
    std::printf("  %d cycles took %.2f s (%.3f ms per cycle of 9 state changes)\n", kCycles,
                elapsed, elapsed * 1000.0 / kCycles);
    return after.skin == before.skin ? 0 : 1;
}
