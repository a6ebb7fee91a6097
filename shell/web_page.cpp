#include "shell/web_page.h"

#include <windows.h>
#include <shellapi.h>

namespace tolvane {

const char kWebPageAddress[] = "http://www.example.com/?10001";

void open_web_page(const char* address) {
    if (address == nullptr || address[0] == '\0')
        return;
    // Only the owner of any message the shell shows; null will do as well.
    HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    // The user's handler for web addresses opens it; a failure is the
    // shell's to show.
    ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void handle_open_page_clicked() {
    open_web_page(kWebPageAddress);
}

}  // namespace tolvane
