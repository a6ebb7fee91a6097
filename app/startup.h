// The start-up sequence: prepares the freshly built main window before it is
// first shown.
#pragma once

namespace tolvane {

// The created event of the main window.
void handle_window_created();

}  // namespace tolvane
