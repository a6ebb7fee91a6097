// The program with its main window refused by a CBT hook, so that it takes
// the path of a window that cannot be created. Built for the tests only.
#include <windows.h>

#include <cstring>

#include "app/program.h"

namespace {

LRESULT CALLBACK refuse_main_window(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lparam);
        const char* cls = create->lpcs->lpszClass;
        if (HIWORD(reinterpret_cast<UINT_PTR>(cls)) != 0 &&
            std::strcmp(cls, "TolvaneMainWindow") == 0) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SetWindowsHookExA(WH_CBT, refuse_main_window, nullptr, GetCurrentThreadId());
    return tolvane::run_program();
}
