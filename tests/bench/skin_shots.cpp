// Puts the program's main window, built in this process by the program's
// own code, into one state for a screenshot: "normal", "hot" (the mouse on
// 按钮2), "ticked" (选择框1 clicked) or "disabled" (both edit boxes
// disabled, as a remembered account leaves them). Writes the window's
// screen rectangle to the ready file, then waits for the done file.
// usage: skin_shots.exe STATE READY_FILE DONE_FILE
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/control_access.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

using namespace tolvane;
using namespace tolvane::testing;

namespace {

void move_onto(HWND control, int x, int y) {
    // Mouse moves reach the window under the cursor, foreground or not.
    const POINT p = client_to_screen(control, x, y);
    move_mouse_to(p.x, p.y);
    pump_for(150);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: skin_shots STATE READY_FILE DONE_FILE\n");
        return 2;
    }
    const std::string state = argv[1];
    remove_settings_file();
    ScopedMainWindow main;
    if (!main.built())
        return 1;
    make_foreground(main.window());
    // The mouse out of the way, on the desktop.
    move_mouse_to(2, 2);
    pump_for(200);

    if (state == "hot") {
        move_onto(main.control(Control::按钮2), 30, 12);
    } else if (state == "ticked") {
        // A click as the button class takes it (in a Wine desktop the
        // window may not be given the foreground that SendInput needs).
        SendMessageA(main.control(Control::选择框1), BM_CLICK, 0, 0);
        SetFocus(main.control(Control::编辑框2));
        pump_for(150);
    } else if (state == "disabled") {
        set_control_text(Control::编辑框2, "user01");
        set_control_text(Control::编辑框3, "secret");
        set_control_checked(Control::选择框1, true);
        set_control_disabled(Control::编辑框2, true);
        set_control_disabled(Control::编辑框3, true);
        SetFocus(main.control(Control::按钮2));
        pump_for(200);
    } else if (state != "normal") {
        std::fprintf(stderr, "skin_shots: unknown state %s\n", state.c_str());
        return 2;
    }

    RECT r;
    GetWindowRect(main.window(), &r);
    if (FILE* ready = std::fopen(argv[2], "w")) {
        std::fprintf(ready, "%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        std::fclose(ready);
    }
    pump_until([&] { return GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES; }, 30000);
    return 0;
}
