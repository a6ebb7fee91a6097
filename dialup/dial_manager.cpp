#include "dialup/dial_manager.h"

#include <atomic>
#include <cstring>

#include "app/control_access.h"
#include "dialup/dial_text.h"

namespace tolvane {

DialState dial_state;

namespace {

constexpr DWORD kHangUpWaitMs = 3000;
constexpr std::size_t kBufferRecords = 38;

// The fields are shared with the notifier's thread; every access is whole.
std::atomic_ref<HRASCONN> connection_field() {
    return std::atomic_ref<HRASCONN>(dial_state.connection);
}
std::atomic_ref<HWND> status_window_field() {
    return std::atomic_ref<HWND>(dial_state.status_window);
}

RASCONNSTATUSA fresh_status() {
    RASCONNSTATUSA status;
    std::memset(&status, 0, sizeof status);
    status.dwSize = sizeof status;
    return status;
}

bool is_connected(HRASCONN handle, RASCONNSTATUSA& status) {
    return RasGetConnectStatusA(handle, &status) == 0 && status.rasconnstate == RASCS_Connected;
}

// The connections the system lists, in a fixed buffer on the caller's stack.
struct ConnectionList {
    RASCONNA records[kBufferRecords];
    DWORD count = 0;
    bool listed = false;

    ConnectionList() {
        std::memset(records, 0, sizeof records);
        records[0].dwSize = sizeof(RASCONNA);
        DWORD bytes = sizeof records;
        listed = RasEnumConnectionsA(records, &bytes, &count) == 0;
        if (!listed || count > kBufferRecords)
            count = 0;  // never read past the buffer
    }
};

void hang_up_and_wait(HRASCONN handle) {
    RasHangUpA(handle);
    RASCONNSTATUSA status = fresh_status();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kHangUpWaitMs) {
        if (RasGetConnectStatusA(handle, &status) == ERROR_INVALID_HANDLE)
            return;
        // A notification of the released dial may be waiting for this thread
        // in SetWindowTextA; taking it lets the service finish the hang-up
        // (the status label drops it: the dial is no longer current).
        MSG sent;
        PeekMessageA(&sent, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        Sleep(0);
    }
}

void release_dial() {
    HRASCONN handle = connection_field().load();
    if (handle == nullptr)
        return;
    connection_field().store(nullptr);
    status_window_field().store(nullptr);
    hang_up_and_wait(handle);
}

void set_status_text(HWND window, const char* text) {
    SetWindowTextA(window, text);
    InvalidateRect(window, nullptr, TRUE);
}

// The entry name of phonebook entry `index`, or false when there is none.
bool entry_name_at(long index, char (&name)[kRasMaxEntryName + 1]) {
    RASENTRYNAMEA entries[kBufferRecords];
    std::memset(entries, 0, sizeof entries);
    entries[0].dwSize = sizeof(RASENTRYNAMEA);
    DWORD bytes = sizeof entries;
    DWORD count = 0;
    // A failure (a phonebook of more than 38 entries among them) counts as
    // an empty phonebook.
    if (RasEnumEntriesA(nullptr, nullptr, entries, &bytes, &count) != 0 || count > kBufferRecords) {
        count = 0;
    }
    if (index < 0 || static_cast<DWORD>(index) >= count)
        return false;
    const RASENTRYNAMEA& entry = entries[index];
    std::memcpy(name, entry.szEntryName, sizeof name);
    name[kRasMaxEntryName] = '\0';
    return true;
}

}  // namespace

DialState::~DialState() {
    clean_up_dial_state();
}

bool dial(const char* entry, const char* user_name, const char* password, bool synchronous,
          std::optional<Control> status_control) {
    release_dial();

    RASDIALPARAMSA params;
    std::memset(&params, 0, sizeof params);
    params.dwSize = sizeof params;
    const char* target = entry ? entry : "";
    if (target[0] == '@') {
        if (!entry_name_at(parse_entry_index(target + 1), params.szEntryName))
            return false;
    } else if (!copy_into_field(params.szPhoneNumber, sizeof params.szPhoneNumber, target)) {
        return false;
    }
    if (!copy_into_field(params.szUserName, sizeof params.szUserName, user_name) ||
        !copy_into_field(params.szPassword, sizeof params.szPassword, password)) {
        SecureZeroMemory(&params, sizeof params);
        return false;
    }

    RasDialFunc notifier = synchronous ? nullptr : dial_notifier;
    const DWORD result = RasDialA(nullptr, nullptr, &params, 0, reinterpret_cast<LPVOID>(notifier),
                                  &dial_state.connection);
    SecureZeroMemory(params.szPassword, sizeof params.szPassword);
    if (result != 0) {
        release_dial();  // the service may have stored a handle despite the failure
        return false;
    }
    // Only now: a state reported while RasDialA ran finds no status window.
    HWND status = (notifier && status_control) ? control_window_handle(*status_control) : nullptr;
    status_window_field().store(status);
    return true;
}

bool is_online() {
    RASCONNSTATUSA status = fresh_status();
    HRASCONN stored = connection_field().load();
    if (stored && is_connected(stored, status))
        return true;
    ConnectionList list;
    for (DWORD i = 0; i < list.count; ++i) {
        if (is_connected(list.records[i].hrasconn, status))
            return true;
    }
    return false;
}

void hang_up_all() {
    if (connection_field().load() != nullptr) {
        HWND status = status_window_field().load();
        release_dial();
        if (status && IsWindow(status))
            set_status_text(status, kHungUpText);
    }
    ConnectionList list;
    for (DWORD i = 0; i < list.count; ++i)
        hang_up_and_wait(list.records[i].hrasconn);
}

void clean_up_dial_state() {
    HRASCONN handle = connection_field().load();
    if (handle == nullptr)
        return;
    status_window_field().store(nullptr);
    RASCONNSTATUSA status = fresh_status();
    if (!is_connected(handle, status))
        hang_up_and_wait(handle);
    connection_field().store(nullptr);
}

void WINAPI dial_notifier(UINT, RASCONNSTATE state, DWORD error) {
    if (connection_field().load() == nullptr)
        return;
    HWND status = status_window_field().load();
    if (status == nullptr || !IsWindow(status))
        return;
    const char* text = dial_state_text(state, error);
    if (text == nullptr)
        return;
    set_status_text(status, text);
}

bool is_current_dial_status_window(HWND window) noexcept {
    return window != nullptr && connection_field().load() != nullptr &&
           status_window_field().load() == window;
}

}  // namespace tolvane
