// The program's web page, opened in the user's browser.
#pragma once

namespace tolvane {

extern const char kWebPageAddress[];

void open_web_page(const char* address);
// The click of 按钮1.
void handle_open_page_clicked();

}  // namespace tolvane
