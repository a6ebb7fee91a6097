// The line's state as all processes see it: %TEMP%\tolvane-line.state, mapped
// into every process that uses the line and guarded by the named mutex
// "TolvaneSimulatedLine".
#pragma once

#include <windows.h>

#include "tools/simline/line_state.h"
#include "tools/simline/scenario_file.h"

namespace tolvane::simline {

// Holds the line for one short operation. On taking it, the line is brought
// up to date: reset when it belongs to another scenario (or to an earlier
// start of the system), settled to the present time. Never held while a
// notifier runs.
class LineLock {
  public:
    // `reload` reads the scenario file again even when it looks unchanged.
    explicit LineLock(bool reload = false);
    ~LineLock();
    LineLock(const LineLock&) = delete;
    LineLock& operator=(const LineLock&) = delete;

    // False when the state file or the mutex cannot be had.
    bool ok() const { return line_ != nullptr; }
    SharedLine& line() { return *line_; }
    const LoadedScenario& loaded() const { return *loaded_; }
    const Scenario& scenario() const { return loaded_->scenario; }
    ULONGLONG now() const { return now_; }

    // Back to the scenario's starting state.
    void reset();

  private:
    SharedLine* line_ = nullptr;
    const LoadedScenario* loaded_ = nullptr;
    HANDLE mutex_ = nullptr;
    ULONGLONG now_ = 0;
};

// This process, as the owner of the dials it starts.
DWORD own_process_id();
ULONGLONG own_process_started();

}  // namespace tolvane::simline
