#include "shell/web_page.h"

namespace tolvane {

const char kWebPageAddress[] = "http://www.example.com/?10001";

// Not yet built.
void open_web_page(const char*) {}
void handle_open_page_clicked() {}

}  // namespace tolvane
