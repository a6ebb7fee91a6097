// ADSL.EXE: the program takes no command line.
#include <windows.h>

#include "app/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return tolvane::run_program();
}
