// Asks operator new for more than a 32-bit process can have, so that the
// program's operator new takes its out-of-memory path. Built for the tests
// only; the nothrow form must give null first (exit code 3 if it does not).
#include <windows.h>
#include <ole2.h>

#include <cstddef>
#include <new>

// Where the block would go; kept, so that the compiler cannot leave the
// allocation out.
char* volatile g_block;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);  // as the program does before anything can fail
    volatile std::size_t bytes = 0xFFFFF000u;
    char* nothing = new (std::nothrow) char[bytes];
    if (nothing != nullptr)
        return 3;
    g_block = new char[bytes];
    return 4;
}
