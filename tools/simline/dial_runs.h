// The dials this process drives: each walks its planned states, records them
// on the line and reports them to its notifier from a thread of the DLL (or,
// for a synchronous dial, on the caller's thread without a notifier).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "dialup/ras_records.h"
#include "tools/simline/scenario.h"

namespace tolvane::simline {

inline constexpr UINT kWmRasDialEvent = 0xCCCD;
// The result of a dial that was hung up before it ended.
inline constexpr DWORD kErrorUserDisconnection = 631;

struct DialRun;

// A run for the connection `handle`, registered in this process so that a
// hang-up can stop it. Null when memory runs out or too many runs exist.
std::shared_ptr<DialRun> create_run(DWORD handle, RasDialFunc notifier,
                                    std::vector<DialStep> steps);

// Starts the run on a thread of its own (the run then belongs to the thread).
// With `early_first_state` the first state is reported before this returns.
// Returns 0, or an error when no thread could be had (the run is gone then).
DWORD start_run(const std::shared_ptr<DialRun>& run, bool early_first_state);

// Walks the run on the calling thread and returns its result; the run is gone
// afterwards.
DWORD run_synchronously(const std::shared_ptr<DialRun>& run);

// Stops the run of the connection, if this process drives one: after this
// returns its notifier is not called again. Waits for a notifier call in
// progress on another thread, handling messages sent to the calling thread
// meanwhile (the notifier may be sending one to it).
void stop_run(DWORD handle);

// Stops every run of this process.
void stop_all_runs();

}  // namespace tolvane::simline
