#include "shell/notify_icon.h"

#include <shellapi.h>

namespace tolvane {

BOOL notify_icon(DWORD message, NOTIFYICONDATAA& record) {
    // cbSize tells the shell which layout it is given.
    return Shell_NotifyIconA(message, reinterpret_cast<::NOTIFYICONDATAA*>(&record));
}

}  // namespace tolvane
