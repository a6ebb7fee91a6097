// Helpers for tests that start the built program as a process of its own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tolvane::testing {

// The build directory (the one holding ADSL.EXE), with a trailing backslash.
std::string build_directory();
// A path inside the build directory.
std::string build_path(const std::string& relative);

class ChildProcess {
  public:
    // Starts a program with the given current directory (empty: the test's).
    static ChildProcess start(const std::string& program,
                              const std::string& current_directory = {});

    ChildProcess() = default;
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Ends the process if it still runs.
    ~ChildProcess();

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }

    // A visible top-level window of the process with the class, once it exists.
    HWND wait_for_window(const char* class_name, DWORD timeout_ms = 10000) const;
    // The program's main window, once it is shown.
    HWND wait_for_main_window(DWORD timeout_ms = 10000) const;
    // The exit code, or none if the process still runs after the time.
    std::optional<DWORD> wait_for_exit(DWORD timeout_ms = 10000) const;
    bool running() const;
    // The process's current directory, read from its process parameters.
    std::string current_directory() const;
    void kill();

  private:
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD id_ = 0;
};

// The windows text of a window of any process.
std::string window_text(HWND window);

}  // namespace tolvane::testing
