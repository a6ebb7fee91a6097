// The Remote Access Service records in their first, smallest layouts, which
// every version of the service accepts. The platform headers describe only
// the newest layouts, so the program defines its own.
#pragma once

#include <windows.h>

#include <cstddef>

DECLARE_HANDLE(HRASCONN);

namespace tolvane {

using RASCONNSTATE = DWORD;

inline constexpr RASCONNSTATE RASCS_OpenPort = 0;
inline constexpr RASCONNSTATE RASCS_PortOpened = 1;
inline constexpr RASCONNSTATE RASCS_ConnectDevice = 2;
inline constexpr RASCONNSTATE RASCS_DeviceConnected = 3;
inline constexpr RASCONNSTATE RASCS_AllDevicesConnected = 4;
inline constexpr RASCONNSTATE RASCS_Authenticate = 5;
inline constexpr RASCONNSTATE RASCS_AuthNotify = 6;
inline constexpr RASCONNSTATE RASCS_Authenticated = 14;
inline constexpr RASCONNSTATE RASCS_Projected = 18;
inline constexpr RASCONNSTATE RASCS_Connected = 0x2000;
inline constexpr RASCONNSTATE RASCS_Disconnected = 0x2001;

inline constexpr DWORD kRasMaxEntryName = 256;
inline constexpr DWORD kRasMaxPhoneNumber = 128;
inline constexpr DWORD kRasMaxCallbackNumber = 128;
inline constexpr DWORD kRasMaxUserName = 256;
inline constexpr DWORD kRasMaxPassword = 256;
inline constexpr DWORD kRasMaxDomain = 15;
inline constexpr DWORD kRasMaxDeviceType = 16;
inline constexpr DWORD kRasMaxDeviceName = 128;

// Errors of the service that the program and the simulated line use.
inline constexpr DWORD kRasErrorBufferTooSmall = 603;
inline constexpr DWORD kRasErrorInvalidSize = 632;
inline constexpr DWORD kRasErrorAuthenticationFailure = 691;

struct RASDIALPARAMSA {
    DWORD dwSize;
    char szEntryName[kRasMaxEntryName + 1];
    char szPhoneNumber[kRasMaxPhoneNumber + 1];
    char szCallbackNumber[kRasMaxCallbackNumber + 1];
    char szUserName[kRasMaxUserName + 1];
    char szPassword[kRasMaxPassword + 1];
    char szDomain[kRasMaxDomain + 1];
};

struct RASENTRYNAMEA {
    DWORD dwSize;
    char szEntryName[kRasMaxEntryName + 1];
};

struct RASCONNA {
    DWORD dwSize;
    HRASCONN hrasconn;
    char szEntryName[kRasMaxEntryName + 1];
    char szDeviceType[kRasMaxDeviceType + 1];
    char szDeviceName[kRasMaxDeviceName + 1];
};

struct RASCONNSTATUSA {
    DWORD dwSize;
    RASCONNSTATE rasconnstate;
    DWORD dwError;
    char szDeviceType[kRasMaxDeviceType + 1];
    char szDeviceName[kRasMaxDeviceName + 1];
};

static_assert(sizeof(RASDIALPARAMSA) == 1052);
static_assert(offsetof(RASDIALPARAMSA, szEntryName) == 4);
static_assert(offsetof(RASDIALPARAMSA, szPhoneNumber) == 261);
static_assert(offsetof(RASDIALPARAMSA, szCallbackNumber) == 390);
static_assert(offsetof(RASDIALPARAMSA, szUserName) == 519);
static_assert(offsetof(RASDIALPARAMSA, szPassword) == 776);
static_assert(offsetof(RASDIALPARAMSA, szDomain) == 1033);

static_assert(sizeof(RASENTRYNAMEA) == 264);
static_assert(offsetof(RASENTRYNAMEA, szEntryName) == 4);

static_assert(sizeof(RASCONNA) == 412);
static_assert(offsetof(RASCONNA, hrasconn) == 4);
static_assert(offsetof(RASCONNA, szEntryName) == 8);
static_assert(offsetof(RASCONNA, szDeviceType) == 265);
static_assert(offsetof(RASCONNA, szDeviceName) == 282);

static_assert(sizeof(RASCONNSTATUSA) == 160);
static_assert(offsetof(RASCONNSTATUSA, rasconnstate) == 4);
static_assert(offsetof(RASCONNSTATUSA, dwError) == 8);
static_assert(offsetof(RASCONNSTATUSA, szDeviceType) == 12);
static_assert(offsetof(RASCONNSTATUSA, szDeviceName) == 29);

// The RasDialFunc notifier (type 0).
using RasDialFunc = void(WINAPI*)(UINT message, RASCONNSTATE state, DWORD error);

}  // namespace tolvane

// The five service functions, as rasapi32.dll exports them. Declared without
// dllimport so that a test program can link its own in their place.
extern "C" {
DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, tolvane::RASENTRYNAMEA* entries,
                             LPDWORD byte_count, LPDWORD entry_count);
DWORD WINAPI RasDialA(LPVOID dial_extensions, LPCSTR phonebook, tolvane::RASDIALPARAMSA* params,
                      DWORD notifier_type, LPVOID notifier, HRASCONN* connection);
DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, tolvane::RASCONNSTATUSA* status);
DWORD WINAPI RasEnumConnectionsA(tolvane::RASCONNA* connections, LPDWORD byte_count,
                                 LPDWORD connection_count);
DWORD WINAPI RasHangUpA(HRASCONN connection);
}
