#include "tests/dialup/fake_ras.h"

#include <atomic>
#include <cstring>
#include <thread>

#include "tests/support/gui.h"

namespace tolvane::testing {
namespace {

FakeRas* g_fake = new FakeRas();  // never freed: the dial state's clean-up runs at exit

}  // namespace

FakeRas& fake_ras() {
    return *g_fake;
}

void reset_fake_ras() {
    FakeRas* old = g_fake;
    g_fake = new FakeRas();
    delete old;
}

HRASCONN FakeRas::new_handle() {
    next_handle_ += 4;
    return reinterpret_cast<HRASCONN>(next_handle_);
}

HRASCONN FakeRas::add_connection(RASCONNSTATE state, bool listed) {
    std::lock_guard lock(mutex);
    HRASCONN h = new_handle();
    connections[h] = {h, state, listed};
    return h;
}

void FakeRas::set_state(HRASCONN handle, RASCONNSTATE state) {
    std::lock_guard lock(mutex);
    connections[handle].state = state;
}

bool FakeRas::exists(HRASCONN handle) {
    std::lock_guard lock(mutex);
    return connections.count(handle) != 0;
}

void report_state(RASCONNSTATE state, DWORD error) {
    LPVOID notifier = nullptr;
    {
        std::lock_guard lock(fake_ras().mutex);
        if (!fake_ras().dials.empty())
            notifier = fake_ras().dials.back().notifier;
    }
    if (notifier == nullptr)
        return;
    std::atomic<bool> done{false};
    std::thread service([&] {
        reinterpret_cast<RasDialFunc>(notifier)(0xCCCD, state, error);
        done = true;
    });
    pump_until([&] { return done.load(); }, 5000);
    service.join();
}

}  // namespace tolvane::testing

using tolvane::testing::fake_ras;

extern "C" {

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, tolvane::RASENTRYNAMEA* entries,
                             LPDWORD byte_count, LPDWORD entry_count) {
    auto& f = fake_ras();
    std::lock_guard lock(f.mutex);
    f.log.push_back("enum_entries");
    f.entry_enums.push_back({entries ? entries[0].dwSize : 0, *byte_count, *entry_count,
                             reserved == nullptr, phonebook == nullptr});
    if (f.enum_entries_result != 0)
        return f.enum_entries_result;
    const DWORD needed = static_cast<DWORD>(f.entries.size() * sizeof(tolvane::RASENTRYNAMEA));
    if (needed > *byte_count) {
        *byte_count = needed;
        *entry_count = static_cast<DWORD>(f.entries.size());
        return tolvane::kRasErrorBufferTooSmall;
    }
    for (std::size_t i = 0; i < f.entries.size(); ++i) {
        entries[i].dwSize = sizeof(tolvane::RASENTRYNAMEA);
        std::strncpy(entries[i].szEntryName, f.entries[i].c_str(),
                     sizeof entries[i].szEntryName - 1);
    }
    *byte_count = needed;
    *entry_count = static_cast<DWORD>(f.entries.size());
    return 0;
}

DWORD WINAPI RasDialA(LPVOID dial_extensions, LPCSTR phonebook, tolvane::RASDIALPARAMSA* params,
                      DWORD notifier_type, LPVOID notifier, HRASCONN* connection) {
    auto& f = fake_ras();
    std::function<void()> inside;
    {
        std::lock_guard lock(f.mutex);
        f.log.push_back("dial");
        f.dials.push_back({dial_extensions, phonebook ? phonebook : "(null)", *params,
                           notifier_type, notifier, connection});
        if (f.dial_result == 0 || f.dial_stores_handle_on_failure) {
            HRASCONN h = f.new_handle();
            f.connections[h] = {h, f.dialed_state, true};
            f.last_dialed_ = h;
            *connection = h;
        }
        inside = f.inside_dial;
    }
    if (inside)
        inside();
    return f.dial_result;
}

DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, tolvane::RASCONNSTATUSA* status) {
    auto& f = fake_ras();
    std::lock_guard lock(f.mutex);
    ++f.status_queries;
    auto it = f.connections.find(connection);
    if (it == f.connections.end())
        return ERROR_INVALID_HANDLE;
    if (status->dwSize != sizeof(tolvane::RASCONNSTATUSA))
        return tolvane::kRasErrorInvalidSize;
    auto hanging = f.hanging_up.find(connection);
    if (hanging != f.hanging_up.end() && hanging->second >= 0 && hanging->second-- == 0) {
        f.connections.erase(it);
        f.hanging_up.erase(hanging);
        return ERROR_INVALID_HANDLE;
    }
    if (it->second.status_fails)
        return 668;  // ERROR_NO_CONNECTION
    status->rasconnstate = it->second.state;
    status->dwError = 0;
    return 0;
}

DWORD WINAPI RasEnumConnectionsA(tolvane::RASCONNA* connections, LPDWORD byte_count,
                                 LPDWORD connection_count) {
    auto& f = fake_ras();
    std::lock_guard lock(f.mutex);
    f.log.push_back("enum_connections");
    f.connection_enums.push_back(
        {connections ? connections[0].dwSize : 0, *byte_count, *connection_count, true, true});
    if (f.enum_connections_result != 0)
        return f.enum_connections_result;
    DWORD n = 0;
    for (auto& [h, c] : f.connections)
        n += c.listed ? 1 : 0;
    const DWORD needed = n * sizeof(tolvane::RASCONNA);
    if (needed > *byte_count) {
        *byte_count = needed;
        *connection_count = n;
        return tolvane::kRasErrorBufferTooSmall;
    }
    DWORD i = 0;
    for (auto& [h, c] : f.connections) {
        if (!c.listed)
            continue;
        connections[i].dwSize = sizeof(tolvane::RASCONNA);
        connections[i].hrasconn = h;
        std::strcpy(connections[i].szEntryName, "宽带连接");
        ++i;
    }
    *byte_count = needed;
    *connection_count = n;
    return 0;
}

DWORD WINAPI RasHangUpA(HRASCONN connection) {
    auto& f = fake_ras();
    std::function<void(HRASCONN)> hook;
    {
        std::lock_guard lock(f.mutex);
        f.log.push_back("hang_up " + std::to_string(reinterpret_cast<UINT_PTR>(connection)));
        f.hang_ups.push_back(connection);
        auto it = f.connections.find(connection);
        if (it == f.connections.end())
            return ERROR_INVALID_HANDLE;
        it->second.state = tolvane::RASCS_Disconnected;
        f.hanging_up[connection] = f.polls_until_gone;
        hook = f.on_hang_up;
    }
    if (hook)
        hook(connection);
    return 0;
}

}  // extern "C"
