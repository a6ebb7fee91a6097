// A client of the line in a process of its own, for the tests of connections
// that outlive their process.
//   simline_dialer connect ENTRY USER PASSWORD
//       dials synchronously and exits with RasDialA's result, leaving the
//       connection up;
//   simline_dialer dial-and-wait ENTRY USER PASSWORD
//       starts an asynchronous dial and waits to be ended.
#include <windows.h>

#include <cstring>

#include "dialup/ras_records.h"

using namespace tolvane;

namespace {

void WINAPI ignore_state(UINT, RASCONNSTATE, DWORD) {}

void copy(char* field, std::size_t size, const char* text) {
    lstrcpynA(field, text, static_cast<int>(size));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5)
        return 2;
    RASDIALPARAMSA params;
    std::memset(&params, 0, sizeof params);
    params.dwSize = sizeof params;
    copy(params.szEntryName, sizeof params.szEntryName, argv[2]);
    copy(params.szUserName, sizeof params.szUserName, argv[3]);
    copy(params.szPassword, sizeof params.szPassword, argv[4]);
    HRASCONN connection = nullptr;
    if (std::strcmp(argv[1], "connect") == 0)
        return static_cast<int>(RasDialA(nullptr, nullptr, &params, 0, nullptr, &connection));
    if (std::strcmp(argv[1], "dial-and-wait") == 0) {
        const DWORD result = RasDialA(nullptr, nullptr, &params, 0,
                                      reinterpret_cast<void*>(&ignore_state), &connection);
        if (result != 0)
            return static_cast<int>(result);
        Sleep(INFINITE);
    }
    return 2;
}
