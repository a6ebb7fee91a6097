// The start routine: from COM and the current directory to the end of the
// message loop.
#pragma once

namespace tolvane {

// Runs the program; returns its exit code after a normal end (fatal errors
// end the process inside).
int run_program();

}  // namespace tolvane
