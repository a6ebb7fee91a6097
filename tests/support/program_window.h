// The built ADSL.EXE as a user drives it: its controls found from outside,
// clicks and typing posted to them, the status label read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/control_table.h"
#include "tests/support/process.h"

namespace tolvane::testing {

class RunningProgram {
  public:
    // Starts build/ADSL.EXE and waits for its window; check shown().
    RunningProgram();
    bool shown() const { return main_ != nullptr; }
    HWND window() const { return main_; }
    ChildProcess& process() { return process_; }

    HWND control(Control c) const;
    std::string text(Control c) const;
    bool enabled(Control c) const;
    bool checked(Control c) const;

    void set_text(Control c, const std::string& text);
    void set_checked(Control c, bool checked);
    // Posted, as a click of the user's: the handler runs in the program's
    // own time (a hang-up may take seconds).
    void click(Control button);

    // Waits until the status label shows the text; false after the time.
    bool wait_for_status(const std::string& text, DWORD timeout_ms = 10000) const;
    // The distinct texts the status label shows, in order, until it shows
    // `last` or the time is up (polled every few ms).
    std::vector<std::string> watch_status_until(const std::string& last,
                                                DWORD timeout_ms = 10000) const;

    // Closes the window and waits for the exit code.
    std::optional<DWORD> close(DWORD timeout_ms = 10000);

  private:
    ChildProcess process_;
    HWND main_ = nullptr;
};

}  // namespace tolvane::testing
