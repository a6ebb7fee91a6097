#include "app/program.h"

#include <windows.h>
#include <ole2.h>

#include "app/fatal_error.h"
#include "app/main_window.h"
#include "app/program_directory.h"

namespace tolvane {

int run_program() {
    // Text blocks live in the process heap (GetProcessHeap), so there is no
    // heap of the program's own to set up. The shortcut creation needs COM.
    OleInitialize(nullptr);
    enter_program_directory();
    switch (build_main_window(GetModuleHandleA(nullptr))) {
        case BuildResult::failed:
            fatal_error(kWindowLoadFailed);
        case BuildResult::shown:
            run_message_loop();
            break;
        case BuildResult::gone:
            break;
    }
    OleUninitialize();
    return 0;
}

}  // namespace tolvane
