// The simulated line as its clients see it: through the five service
// functions of the rasapi32.dll next to this program, with the line control
// library setting up scenarios and looking into the line.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/win_handle.h"
#include "dialup/ras_records.h"
#include "tools/simline/line_control.h"
#include "tools/simline/scenario.h"

namespace tolvane {
namespace {

namespace lc = line_control;

constexpr UINT kWmRasDialEvent = 0xCCCD;
constexpr DWORD kErrorInvalidHandle = 6;
constexpr DWORD kErrorInvalidParameter = 87;
constexpr DWORD kErrorCannotOpenPhonebook = 621;
constexpr DWORD kErrorCannotFindPhonebookEntry = 623;

const std::vector<RASCONNSTATE> kWalk(std::begin(simline::kDialWalk), std::end(simline::kDialWalk));

std::vector<RASCONNSTATE> walk_to(RASCONNSTATE last) {
    std::vector<RASCONNSTATE> states;
    for (RASCONNSTATE s : kWalk) {
        states.push_back(s);
        if (s == last)
            break;
    }
    return states;
}

// ---- The notifier of the tests and what it saw ----

struct Event {
    UINT message;
    RASCONNSTATE state;
    DWORD error;
    DWORD thread;
};

bool wait_until(const std::function<bool()>& done, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout_ms)
            return false;
        Sleep(2);
    }
    return true;
}

class Recorder {
  public:
    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.clear();
    }
    void add(const Event& e) {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(e);
    }
    std::vector<Event> events() {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }
    std::size_t count() {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_.size();
    }
    // Until the dial has ended: connected, or an error.
    bool wait_for_end(DWORD timeout_ms) {
        return wait_until(
            [this] {
                std::lock_guard<std::mutex> lock(mutex_);
                return !events_.empty() &&
                       (events_.back().state == RASCS_Connected || events_.back().error != 0);
            },
            timeout_ms);
    }
    bool wait_for_count(std::size_t n, DWORD timeout_ms) {
        return wait_until([this, n] { return count() >= n; }, timeout_ms);
    }

  private:
    std::mutex mutex_;
    std::vector<Event> events_;
};

Recorder recorder;

enum class NotifierMode { Record, HangUpAtPortOpened, SendToWindowAtPortOpened };
std::atomic<NotifierMode> notifier_mode{NotifierMode::Record};
// The dial's handle, written by RasDialA itself, as the program's is.
HRASCONN volatile notified_connection = nullptr;
std::atomic<HWND> send_target{nullptr};
HANDLE in_notifier = nullptr;

void WINAPI notifier(UINT message, RASCONNSTATE state, DWORD error) {
    recorder.add({message, state, error, GetCurrentThreadId()});
    if (state != RASCS_PortOpened)
        return;
    switch (notifier_mode.load()) {
        case NotifierMode::HangUpAtPortOpened:
            RasHangUpA(notified_connection);
            break;
        case NotifierMode::SendToWindowAtPortOpened:
            SetEvent(in_notifier);
            SendMessageA(send_target.load(), WM_APP, 0, 0);
            break;
        case NotifierMode::Record:
            break;
    }
}

std::vector<RASCONNSTATE> states_of(const std::vector<Event>& events) {
    std::vector<RASCONNSTATE> states;
    for (const Event& e : events)
        states.push_back(e.state);
    return states;
}

// ---- Calls as a client makes them ----

RASDIALPARAMSA dial_params(const char* entry, const char* user, const char* password,
                           const char* phone = "") {
    RASDIALPARAMSA p;
    std::memset(&p, 0, sizeof p);
    p.dwSize = sizeof p;
    lstrcpynA(p.szEntryName, entry, sizeof p.szEntryName);
    lstrcpynA(p.szPhoneNumber, phone, sizeof p.szPhoneNumber);
    lstrcpynA(p.szUserName, user, sizeof p.szUserName);
    lstrcpynA(p.szPassword, password, sizeof p.szPassword);
    return p;
}

DWORD dial_async(RASDIALPARAMSA params, HRASCONN* connection) {
    return RasDialA(nullptr, nullptr, &params, 0, reinterpret_cast<void*>(&notifier), connection);
}

DWORD dial_sync(RASDIALPARAMSA params, HRASCONN* connection) {
    return RasDialA(nullptr, nullptr, &params, 0, nullptr, connection);
}

struct Status {
    DWORD result;
    RASCONNSTATUSA record;
};

Status status_of(HRASCONN connection) {
    Status s;
    std::memset(&s.record, 0, sizeof s.record);
    s.record.dwSize = sizeof s.record;
    s.result = RasGetConnectStatusA(connection, &s.record);
    return s;
}

struct Listing {
    DWORD result;
    DWORD bytes;
    std::vector<RASCONNA> connections;
};

// With the 38-record buffer the program uses.
Listing listed_connections() {
    std::vector<RASCONNA> buffer(38);
    std::memset(buffer.data(), 0, buffer.size() * sizeof(RASCONNA));
    buffer[0].dwSize = sizeof(RASCONNA);
    Listing l;
    l.bytes = static_cast<DWORD>(buffer.size() * sizeof(RASCONNA));
    DWORD count = 0;
    l.result = RasEnumConnectionsA(buffer.data(), &l.bytes, &count);
    if (l.result == 0)
        l.connections.assign(buffer.begin(), buffer.begin() + count);
    return l;
}

bool is_listed(HRASCONN connection) {
    for (const RASCONNA& c : listed_connections().connections) {
        if (c.hrasconn == connection)
            return true;
    }
    return false;
}

struct Entries {
    DWORD result;
    DWORD bytes;
    DWORD count;
    std::vector<std::string> names;
};

Entries phonebook(std::size_t buffer_records = 38) {
    std::vector<RASENTRYNAMEA> buffer(buffer_records);
    std::memset(buffer.data(), 0, buffer.size() * sizeof(RASENTRYNAMEA));
    buffer[0].dwSize = sizeof(RASENTRYNAMEA);
    Entries e;
    e.bytes = static_cast<DWORD>(buffer.size() * sizeof(RASENTRYNAMEA));
    e.count = 0;
    e.result = RasEnumEntriesA(nullptr, nullptr, buffer.data(), &e.bytes, &e.count);
    if (e.result == 0) {
        for (DWORD i = 0; i < e.count; ++i)
            e.names.push_back(buffer[i].szEntryName);
    } else if (buffer[0].szEntryName[0] != '\0') {
        e.names.push_back("written on failure");
    }
    return e;
}

bool gone(HRASCONN connection) {
    return status_of(connection).result == kErrorInvalidHandle;
}

void write_raw(const std::string& path, const std::string& bytes) {
    UniqueKernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

class LineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(lc::line_available()) << "rasapi32.dll next to the test is not the line";
        recorder.clear();
        notifier_mode = NotifierMode::Record;
        notified_connection = nullptr;
    }
    // The reset stops this process's dials, so no notifier outlives a test.
    void TearDown() override {
        lc::reset_line();
        recorder.clear();
    }

    static std::string scenario_path() {
        return lc::temporary_scenario_path("simline-test.scenario");
    }
    static bool use(const std::string& text) {
        const bool used = lc::use_scenario(scenario_path(), text);
        EXPECT_TRUE(used) << lc::scenario_problem();
        return used;
    }
};

// ---- Records and buffers ----

TEST_F(LineTest, RecordSizesAndArgumentsAreChecked) {
    ASSERT_TRUE(use("entry isp\nconnection up\nstate-time 0\nhangup-time 0\n"));

    for (DWORD size : {0u, 263u, 265u, 532u, 264u}) {
        RASENTRYNAMEA entries[4] = {};
        entries[0].dwSize = size;
        DWORD bytes = sizeof entries, count = 0;
        EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, entries, &bytes, &count),
                  size == 264 ? 0u : 632u)
            << size;
    }
    for (DWORD size : {0u, 411u, 413u, 704u, 412u}) {
        RASCONNA connections[4] = {};
        connections[0].dwSize = size;
        DWORD bytes = sizeof connections, count = 0;
        EXPECT_EQ(RasEnumConnectionsA(connections, &bytes, &count), size == 412 ? 0u : 632u)
            << size;
    }
    const HRASCONN up = listed_connections().connections.at(0).hrasconn;
    for (DWORD size : {0u, 159u, 161u, 288u, 160u}) {
        RASCONNSTATUSA status = {};
        status.dwSize = size;
        EXPECT_EQ(RasGetConnectStatusA(up, &status), size == 160 ? 0u : 632u) << size;
    }
    // The dial parameters: the classic size and the two later ones.
    for (DWORD size : {0u, 1051u, 1053u, 1056u, 1068u, 1052u, 1060u, 1064u}) {
        struct {
            RASDIALPARAMSA classic;
            DWORD later[4];
        } params = {};
        params.classic = dial_params("isp", "u", "p");
        params.classic.dwSize = size;
        HRASCONN connection = nullptr;
        const bool known = size == 1052 || size == 1060 || size == 1064;
        EXPECT_EQ(RasDialA(nullptr, nullptr, &params.classic, 0, nullptr, &connection),
                  known ? 0u : 632u)
            << size;
        EXPECT_EQ(connection != nullptr, known) << size;
        RasHangUpA(connection);
    }

    RASDIALPARAMSA params = dial_params("isp", "u", "p");
    HRASCONN connection = nullptr;
    DWORD bytes = 0, count = 0;
    EXPECT_EQ(RasDialA(nullptr, nullptr, nullptr, 0, nullptr, &connection), kErrorInvalidParameter);
    EXPECT_EQ(RasDialA(nullptr, nullptr, &params, 0, nullptr, nullptr), kErrorInvalidParameter);
    EXPECT_EQ(
        RasDialA(nullptr, nullptr, &params, 1, reinterpret_cast<void*>(&notifier), &connection),
        kErrorInvalidParameter);
    std::memset(params.szUserName, 'x', sizeof params.szUserName);  // no terminating zero
    EXPECT_EQ(dial_sync(params, &connection), kErrorInvalidParameter);
    EXPECT_EQ(connection, nullptr);
    EXPECT_EQ(RasEnumEntriesA("reserved", nullptr, nullptr, &bytes, &count),
              kErrorInvalidParameter);
    EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, nullptr, nullptr, &count), kErrorInvalidParameter);
    EXPECT_EQ(RasEnumConnectionsA(nullptr, &bytes, nullptr), kErrorInvalidParameter);
    EXPECT_EQ(RasGetConnectStatusA(up, nullptr), kErrorInvalidParameter);
}

TEST_F(LineTest, SmallBuffersReportTheBytesAndTheCountNeeded) {
    ASSERT_TRUE(use("entry one\nentry two\nconnection x\nconnection y\n"));
    struct Case {
        std::size_t records;
        DWORD entry_bytes;
        DWORD connection_bytes;
        bool null_buffer;
    };
    const Case cases[] = {{1, 264, 412, false}, {2, 527, 823, false}, {1, 0, 0, true}};
    for (const Case& c : cases) {
        std::vector<RASENTRYNAMEA> entries(c.records);
        std::memset(entries.data(), 0, c.records * sizeof(RASENTRYNAMEA));
        entries[0].dwSize = sizeof(RASENTRYNAMEA);
        DWORD bytes = c.entry_bytes, count = 0;
        EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, c.null_buffer ? nullptr : entries.data(),
                                  &bytes, &count),
                  603u);
        EXPECT_EQ(bytes, 2u * 264);
        EXPECT_EQ(count, 2u);
        EXPECT_EQ(entries[0].szEntryName[0], '\0');

        std::vector<RASCONNA> connections(c.records);
        std::memset(connections.data(), 0, c.records * sizeof(RASCONNA));
        connections[0].dwSize = sizeof(RASCONNA);
        bytes = c.connection_bytes;
        count = 0;
        EXPECT_EQ(RasEnumConnectionsA(c.null_buffer ? nullptr : connections.data(), &bytes, &count),
                  603u);
        EXPECT_EQ(bytes, 2u * 412);
        EXPECT_EQ(count, 2u);
        EXPECT_EQ(connections[0].hrasconn, nullptr);
    }
    EXPECT_EQ(phonebook(2).result, 0u);
    EXPECT_EQ(phonebook(2).bytes, 528u);
    EXPECT_EQ(listed_connections().bytes, 824u);

    // Nothing to list: no buffer is needed.
    ASSERT_TRUE(use("state-time 0\n"));
    DWORD bytes = 0, count = 7;
    EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, nullptr, &bytes, &count), 0u);
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(count, 0u);
    count = 7;
    EXPECT_EQ(RasEnumConnectionsA(nullptr, &bytes, &count), 0u);
    EXPECT_EQ(count, 0u);
}

TEST_F(LineTest, ListsPhonebooksOfAnySizeInTheirOrder) {
    for (std::size_t n : {0u, 1u, 2u, 39u}) {
        std::string text = "state-time 0\n";
        std::vector<std::string> names;
        for (std::size_t i = 0; i < n; ++i) {
            names.push_back(i == 0 ? "宽带连接" : "线路" + std::to_string(i));
            text += "entry \"" + names.back() + "\"\n";
        }
        ASSERT_TRUE(use(text));
        const Entries e = phonebook();
        if (n <= 38) {
            EXPECT_EQ(e.result, 0u) << n;
            EXPECT_EQ(e.count, n);
            EXPECT_EQ(e.bytes, n * 264);
            EXPECT_EQ(e.names, names);
        } else {
            // The program's buffer of 38 records is too small.
            EXPECT_EQ(e.result, 603u);
            EXPECT_EQ(e.count, 39u);
            EXPECT_EQ(e.bytes, 39u * 264);
            EXPECT_TRUE(e.names.empty());
            EXPECT_EQ(phonebook(39).names, names);
        }
    }
}

// ---- Dials ----

TEST_F(LineTest, AnAsynchronousDialReportsEveryStateFromAThreadOfTheLine) {
    ASSERT_TRUE(
        use("entry \"宽带连接\"\ncredentials * tolvane\nstate-time 10\nstate-time OpenPort 300\n"));
    HRASCONN connection = nullptr;
    ASSERT_EQ(dial_async(dial_params("宽带连接", "account", "tolvane"), &connection), 0u);
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(recorder.count(), 0u) << "a state arrived before RasDialA returned";
    // Dialing: listed, not yet connected.
    EXPECT_TRUE(is_listed(connection));
    EXPECT_NE(status_of(connection).record.rasconnstate, RASCS_Connected);

    ASSERT_TRUE(recorder.wait_for_end(5000));
    const std::vector<Event> events = recorder.events();
    EXPECT_EQ(states_of(events), kWalk);
    for (const Event& e : events) {
        EXPECT_EQ(e.message, kWmRasDialEvent);
        EXPECT_EQ(e.error, 0u);
        EXPECT_NE(e.thread, GetCurrentThreadId());
    }

    const Status s = status_of(connection);
    EXPECT_EQ(s.result, 0u);
    EXPECT_EQ(s.record.rasconnstate, RASCS_Connected);
    EXPECT_EQ(s.record.dwError, 0u);
    EXPECT_STREQ(s.record.szDeviceType, "PPPoE");
    EXPECT_STREQ(s.record.szDeviceName, "WAN Miniport (PPPOE)");
    const Listing l = listed_connections();
    ASSERT_EQ(l.connections.size(), 1u);
    EXPECT_EQ(l.connections[0].hrasconn, connection);
    EXPECT_STREQ(l.connections[0].szEntryName, "宽带连接");
    EXPECT_STREQ(l.connections[0].szDeviceType, "PPPoE");

    const std::vector<lc::Dial> log = lc::dial_log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].entry_name, "宽带连接");
    EXPECT_EQ(log[0].phone_number, "");
    EXPECT_EQ(log[0].user_name, "account");
    EXPECT_EQ(log[0].password, "tolvane");
    EXPECT_EQ(log[0].result, 0u);
    EXPECT_FALSE(log[0].synchronous);
    EXPECT_EQ(log[0].handle, connection);
    EXPECT_EQ(log[0].process_id, GetCurrentProcessId());
    EXPECT_EQ(RasHangUpA(connection), 0u);
}

TEST_F(LineTest, DialsAnEntryByItsNameOrAPhoneNumber) {
    ASSERT_TRUE(use("entry \"Office Line\"\nstate-time 0\n"));
    HRASCONN by_name = nullptr, by_number = nullptr, nowhere = nullptr;
    EXPECT_EQ(dial_sync(dial_params("office LINE", "u", "p"), &by_name), 0u);
    EXPECT_EQ(dial_sync(dial_params("", "u", "p", "12345"), &by_number), 0u);
    EXPECT_EQ(dial_async(dial_params("Nowhere", "u", "p"), &nowhere),
              kErrorCannotFindPhonebookEntry);
    EXPECT_EQ(nowhere, nullptr);

    const Listing l = listed_connections();
    ASSERT_EQ(l.connections.size(), 2u);
    EXPECT_STREQ(l.connections[0].szEntryName, "Office Line");
    EXPECT_STREQ(l.connections[1].szEntryName, ".12345");
    const std::vector<lc::Dial> log = lc::dial_log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].entry_name, "");
    EXPECT_EQ(log[1].phone_number, "12345");
    EXPECT_EQ(log[2].entry_name, "Nowhere");
    EXPECT_EQ(log[2].result, kErrorCannotFindPhonebookEntry);
    EXPECT_EQ(log[2].handle, nullptr);
    Sleep(50);
    EXPECT_EQ(recorder.count(), 0u);
}

TEST_F(LineTest, WrongCredentialsEndTheDialWith691AtAuthNotify) {
    ASSERT_TRUE(use("entry isp\ncredentials * tolvane\nstate-time 5\n"));
    struct Case {
        const char* user;
        const char* password;
    };
    const Case cases[] = {
        {"account", "wrong"}, {"", "tolvane"}, {"account", ""}, {"account", "TOLVANE"}};
    for (const Case& c : cases) {
        recorder.clear();
        HRASCONN connection = nullptr;
        ASSERT_EQ(dial_async(dial_params("isp", c.user, c.password), &connection), 0u);
        ASSERT_TRUE(recorder.wait_for_end(5000)) << c.user << "/" << c.password;
        Sleep(100);  // the time of several more states
        const std::vector<Event> events = recorder.events();
        EXPECT_EQ(states_of(events), walk_to(RASCS_AuthNotify)) << c.user << "/" << c.password;
        EXPECT_EQ(events.back().error, 691u);
        const Status s = status_of(connection);
        EXPECT_EQ(s.result, 0u);
        EXPECT_EQ(s.record.rasconnstate, RASCS_AuthNotify);
        EXPECT_EQ(s.record.dwError, 691u);
        // The failed dial keeps its port until it is hung up.
        EXPECT_TRUE(is_listed(connection));
        EXPECT_EQ(RasHangUpA(connection), 0u);
    }
}

TEST_F(LineTest, InjectedFailuresHappenWhereTheScenarioSays) {
    struct Case {
        const char* failure;
        DWORD dial_result;
        bool handle;
        std::vector<RASCONNSTATE> states;
        DWORD last_error;
    };
    const Case cases[] = {
        {"fail at ConnectDevice 678", 0, true, walk_to(RASCS_ConnectDevice), 678},
        {"fail at Projected 720", 0, true, walk_to(RASCS_Projected), 720},
        {"fail dial 633", 633, false, {}, 0},
        {"fail dial 756 with-handle", 756, true, {}, 0},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(use(std::string("entry isp\nstate-time 5\nhangup-time 0\n") + c.failure));
        recorder.clear();
        HRASCONN connection = nullptr;
        EXPECT_EQ(dial_async(dial_params("isp", "u", "p"), &connection), c.dial_result)
            << c.failure;
        EXPECT_EQ(connection != nullptr, c.handle) << c.failure;
        if (c.dial_result == 0) {
            ASSERT_TRUE(recorder.wait_for_end(5000)) << c.failure;
        }
        Sleep(100);
        const std::vector<Event> events = recorder.events();
        EXPECT_EQ(states_of(events), c.states) << c.failure;
        if (!events.empty()) {
            EXPECT_EQ(events.back().error, c.last_error) << c.failure;
        }
        if (connection) {
            const Status s = status_of(connection);
            EXPECT_EQ(s.result, 0u);
            EXPECT_EQ(s.record.dwError, c.dial_result ? c.dial_result : c.last_error);
            EXPECT_EQ(RasHangUpA(connection), 0u);
            EXPECT_TRUE(gone(connection));
        }
        EXPECT_EQ(lc::dial_log().at(0).result, c.dial_result) << c.failure;
    }

    ASSERT_TRUE(
        use("entry isp\nconnection up\nfail enum-entries 621\nfail enum-connections 668\n"));
    EXPECT_EQ(phonebook().result, 621u);
    EXPECT_EQ(listed_connections().result, 668u);
    const std::vector<lc::Connection> up = lc::connections();
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(status_of(up[0].handle).record.rasconnstate, RASCS_Connected);
}

TEST_F(LineTest, ASynchronousDialBlocksUntilItHasEnded) {
    ASSERT_TRUE(use("entry isp\ncredentials * tolvane\nstate-time 20\n"));
    HRASCONN good = nullptr, bad = nullptr;
    const DWORD start = GetTickCount();
    EXPECT_EQ(dial_sync(dial_params("isp", "u", "tolvane"), &good), 0u);
    EXPECT_GE(GetTickCount() - start, 150u);  // ten states of 20 ms, less timer slack
    EXPECT_EQ(status_of(good).record.rasconnstate, RASCS_Connected);

    EXPECT_EQ(dial_sync(dial_params("isp", "u", "wrong"), &bad), 691u);
    ASSERT_NE(bad, nullptr);  // to be hung up by the caller
    EXPECT_EQ(status_of(bad).record.rasconnstate, RASCS_AuthNotify);
    EXPECT_EQ(status_of(bad).record.dwError, 691u);
    EXPECT_EQ(recorder.count(), 0u);

    const std::vector<lc::Dial> log = lc::dial_log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[0].synchronous);
    EXPECT_EQ(log[0].result, 0u);
    EXPECT_EQ(log[1].result, 691u);
    EXPECT_EQ(RasHangUpA(good), 0u);
    EXPECT_EQ(RasHangUpA(bad), 0u);
}

TEST_F(LineTest, TheFirstStateMayArriveBeforeRasDialAReturns) {
    ASSERT_TRUE(use("entry isp\nstate-time 300\nearly-first-state\n"));
    HRASCONN connection = nullptr;
    ASSERT_EQ(dial_async(dial_params("isp", "u", "p"), &connection), 0u);
    const std::vector<Event> events = recorder.events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].state, RASCS_OpenPort);
    EXPECT_NE(events[0].thread, GetCurrentThreadId());
    EXPECT_EQ(RasHangUpA(connection), 0u);
}

// ---- Hang-ups ----

TEST_F(LineTest, AHungUpConnectionAnswersForTheHangUpTimeThenItsHandleIsGone) {
    ASSERT_TRUE(use("entry isp\nstate-time 0\nhangup-time 400\n"));
    HRASCONN connection = nullptr;
    ASSERT_EQ(dial_sync(dial_params("isp", "u", "p"), &connection), 0u);
    const DWORD start = GetTickCount();
    EXPECT_EQ(RasHangUpA(connection), 0u);
    const Status down = status_of(connection);
    EXPECT_EQ(down.result, 0u);
    EXPECT_EQ(down.record.rasconnstate, RASCS_Disconnected);
    EXPECT_EQ(down.record.dwError, 0u);
    EXPECT_FALSE(is_listed(connection));
    EXPECT_EQ(RasHangUpA(connection), 0u);

    ASSERT_TRUE(wait_until([&] { return gone(connection); }, 5000));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 380u);
    EXPECT_LT(elapsed, 3000u);
    EXPECT_EQ(RasHangUpA(connection), kErrorInvalidHandle);

    // Handles the line never handed out.
    for (HRASCONN h : {static_cast<HRASCONN>(nullptr), reinterpret_cast<HRASCONN>(0x7FFFFFF0),
                       reinterpret_cast<HRASCONN>(1)}) {
        EXPECT_EQ(status_of(h).result, kErrorInvalidHandle);
        EXPECT_EQ(RasHangUpA(h), kErrorInvalidHandle);
    }
}

TEST_F(LineTest, AHangUpThatNeverCompletesKeepsTheHandleUntilTheLineIsReset) {
    ASSERT_TRUE(use("entry isp\nstate-time 0\nhangup-time 50\nfail hangup\n"));
    HRASCONN connection = nullptr;
    ASSERT_EQ(dial_sync(dial_params("isp", "u", "p"), &connection), 0u);
    EXPECT_EQ(RasHangUpA(connection), 0u);
    Sleep(500);
    EXPECT_EQ(status_of(connection).result, 0u);
    EXPECT_EQ(status_of(connection).record.rasconnstate, RASCS_Disconnected);
    EXPECT_EQ(RasHangUpA(connection), 0u);
    ASSERT_TRUE(lc::reset_line());
    EXPECT_TRUE(gone(connection));
}

LRESULT CALLBACK counting_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_APP) {
        SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

TEST_F(LineTest, NoStateReachesTheNotifierOnceTheHangUpHasReturned) {
    ASSERT_TRUE(use("entry isp\nstate-time 20\n"));

    // Between two states.
    HRASCONN connection = nullptr;
    ASSERT_EQ(dial_async(dial_params("isp", "u", "p"), &connection), 0u);
    ASSERT_TRUE(recorder.wait_for_count(2, 5000));
    EXPECT_EQ(RasHangUpA(connection), 0u);
    std::size_t seen = recorder.count();
    Sleep(300);
    EXPECT_EQ(recorder.count(), seen);
    EXPECT_LT(seen, kWalk.size());

    // From inside the notifier, on the line's thread.
    recorder.clear();
    notifier_mode = NotifierMode::HangUpAtPortOpened;
    RASDIALPARAMSA params = dial_params("isp", "u", "p");
    ASSERT_EQ(RasDialA(nullptr, nullptr, &params, 0, reinterpret_cast<void*>(&notifier),
                       const_cast<HRASCONN*>(&notified_connection)),
              0u);
    ASSERT_TRUE(recorder.wait_for_count(2, 5000));
    Sleep(300);
    EXPECT_EQ(states_of(recorder.events()), walk_to(RASCS_PortOpened));

    // While the notifier waits for this thread, which does not look at its
    // messages: the hang-up lets the notifier's message through, and returns.
    recorder.clear();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = counting_window_procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SimlineTestCounter";
    RegisterClassA(&wc);
    HWND window = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    UniqueKernelHandle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    in_notifier = event.get();
    send_target = window;
    notifier_mode = NotifierMode::SendToWindowAtPortOpened;
    connection = nullptr;
    ASSERT_EQ(dial_async(dial_params("isp", "u", "p"), &connection), 0u);
    ASSERT_EQ(WaitForSingleObject(event.get(), 5000), WAIT_OBJECT_0);
    Sleep(50);  // the notifier is inside SendMessageA now
    EXPECT_EQ(RasHangUpA(connection), 0u);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 1);
    seen = recorder.count();
    Sleep(300);
    EXPECT_EQ(recorder.count(), seen);
    EXPECT_EQ(states_of(recorder.events()), walk_to(RASCS_PortOpened));
    DestroyWindow(window);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
    in_notifier = nullptr;
}

// ---- Connections belong to the system ----

struct Child {
    UniqueKernelHandle process;
    DWORD id = 0;
};

Child start_dialer(const std::string& arguments) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string program = self;
    program = program.substr(0, program.rfind('\\') + 1) + "simline_dialer.exe";
    std::string command = "\"" + program + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    Child child;
    // The child inherits this process's environment, the scenario variable
    // included.
    if (CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &si, &pi)) {
        CloseHandle(pi.hThread);
        child.process.reset(pi.hProcess);
        child.id = pi.dwProcessId;
    }
    return child;
}

TEST_F(LineTest, AConnectionOutlivesTheProcessThatDialedIt) {
    ASSERT_TRUE(use("entry \"宽带连接\"\ncredentials * tolvane\nstate-time 0\nhangup-time 100\n"));
    Child child = start_dialer("connect \"宽带连接\" account tolvane");
    ASSERT_TRUE(child.process);
    ASSERT_EQ(WaitForSingleObject(child.process.get(), 20000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(child.process.get(), &code);
    EXPECT_EQ(code, 0u);

    const Listing l = listed_connections();
    ASSERT_EQ(l.connections.size(), 1u);
    EXPECT_STREQ(l.connections[0].szEntryName, "宽带连接");
    const HRASCONN connection = l.connections[0].hrasconn;
    EXPECT_EQ(status_of(connection).record.rasconnstate, RASCS_Connected);
    const auto c = lc::find_connection(connection);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->phase, lc::Phase::Connected);
    EXPECT_EQ(c->owner_process_id, 0u);
    const std::vector<lc::Dial> log = lc::dial_log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].process_id, child.id);
    EXPECT_EQ(log[0].user_name, "account");

    // Another process may hang it up.
    EXPECT_EQ(RasHangUpA(connection), 0u);
    EXPECT_TRUE(wait_until([&] { return gone(connection); }, 5000));
}

TEST_F(LineTest, ADialWhoseProcessIsGoneIsNotLeftUp) {
    ASSERT_TRUE(use("entry isp\nstate-time 10\nstate-time Authenticate 60000\nhangup-time 100\n"));
    Child child = start_dialer("dial-and-wait isp u p");
    ASSERT_TRUE(child.process);
    HRASCONN connection = nullptr;
    ASSERT_TRUE(wait_until(
        [&] {
            for (const lc::Connection& c : lc::connections()) {
                if (c.owner_process_id == child.id && c.state == RASCS_AllDevicesConnected) {
                    connection = c.handle;
                    return true;
                }
            }
            return false;
        },
        20000));
    EXPECT_TRUE(is_listed(connection));
    TerminateProcess(child.process.get(), 1);
    ASSERT_EQ(WaitForSingleObject(child.process.get(), 5000), WAIT_OBJECT_0);

    bool ever_connected = false;
    EXPECT_TRUE(wait_until(
        [&] {
            const Status s = status_of(connection);
            ever_connected |= s.result == 0 && s.record.rasconnstate == RASCS_Connected;
            return s.result == kErrorInvalidHandle;
        },
        5000));
    EXPECT_FALSE(ever_connected);
    EXPECT_TRUE(lc::connections().empty());
}

TEST_F(LineTest, OtherProgramsConnectionsComeWithTheScenarioAndAChangedScenarioStartsAfresh) {
    ASSERT_TRUE(
        use("entry isp\nconnection \"公司VPN\"\nconnection half Authenticate\n"
            "state-time 0\nhangup-time 0\n"));
    Listing l = listed_connections();
    ASSERT_EQ(l.connections.size(), 2u);
    EXPECT_STREQ(l.connections[0].szEntryName, "公司VPN");
    EXPECT_EQ(status_of(l.connections[0].hrasconn).record.rasconnstate, RASCS_Connected);
    EXPECT_STREQ(l.connections[1].szEntryName, "half");
    EXPECT_EQ(status_of(l.connections[1].hrasconn).record.rasconnstate, RASCS_Authenticate);
    const HRASCONN vpn = l.connections[0].hrasconn;
    HRASCONN mine = nullptr;
    ASSERT_EQ(dial_sync(dial_params("isp", "u", "p"), &mine), 0u);
    EXPECT_EQ(listed_connections().connections.size(), 3u);

    // The same scenario file, left alone, keeps the line as it is.
    ASSERT_TRUE(lc::connections().size() == 3u);

    // Written anew, it starts a fresh line: old handles and the log are gone.
    ASSERT_TRUE(use("entry isp\nconnection \"公司VPN\"\nstate-time 0\nhangup-time 0\n"));
    EXPECT_TRUE(gone(vpn));
    EXPECT_TRUE(gone(mine));
    EXPECT_EQ(lc::dial_count(), 0u);
    l = listed_connections();
    ASSERT_EQ(l.connections.size(), 1u);
    EXPECT_NE(l.connections[0].hrasconn, vpn);
    EXPECT_EQ(RasHangUpA(l.connections[0].hrasconn), 0u);
    EXPECT_TRUE(listed_connections().connections.empty());
}

// ---- The scenario file ----

std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

TEST_F(LineTest, TheScenarioFileMayBeUtf8OrCodePage936AndNamedTheUnixWay) {
    const std::string path = scenario_path();
    const std::string entry = "宽带连接";  // code page 936, as the program shows it
    const std::string files[] = {
        utf8(u8"entry \"宽带连接\"\n"),
        "\xEF\xBB\xBF" + utf8(u8"# 带 BOM\nentry \"宽带连接\"\n"),
        "entry \"" + entry + "\"\n",
    };
    for (const std::string& bytes : files) {
        write_raw(path, bytes);
        ASSERT_TRUE(SetEnvironmentVariableA("TOLVANE_LINE_SCENARIO", path.c_str()));
        ASSERT_TRUE(lc::reset_line());
        EXPECT_EQ(lc::scenario_problem(), "");
        EXPECT_EQ(phonebook().names, std::vector<std::string>{entry});
    }

    // A character that the program could not show is a problem, not a '?'.
    write_raw(path, utf8(u8"entry \"\U0001F600\"\n"));
    ASSERT_TRUE(lc::reset_line());
    EXPECT_NE(lc::scenario_problem(), "");

    using ToUnix = char*(__cdecl*)(LPCWSTR);
    auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!to_unix)
        GTEST_SKIP() << "not under Wine: no Unix paths";
    write_raw(path, "entry unix\n");
    std::wstring wide(path.begin(), path.end());
    char* unix_path = to_unix(wide.c_str());
    ASSERT_NE(unix_path, nullptr);
    ASSERT_EQ(unix_path[0], '/');
    ASSERT_TRUE(SetEnvironmentVariableA("TOLVANE_LINE_SCENARIO", unix_path));
    HeapFree(GetProcessHeap(), 0, unix_path);
    ASSERT_TRUE(lc::reset_line());
    EXPECT_EQ(lc::scenario_problem(), "");
    EXPECT_EQ(phonebook().names, std::vector<std::string>{"unix"});
    EXPECT_NE(lc::scenario_path(), "");
}

TEST_F(LineTest, AScenarioWithAProblemIsReportedAndTheLineRefusesToWork) {
    EXPECT_FALSE(lc::use_scenario(scenario_path(), "entry isp\nstate-time soon\n"));
    EXPECT_NE(lc::scenario_problem().find("line 2: "), std::string::npos);
    EXPECT_EQ(phonebook().result, kErrorCannotOpenPhonebook);
    HRASCONN connection = nullptr;
    EXPECT_EQ(dial_async(dial_params("isp", "u", "p"), &connection), kErrorCannotOpenPhonebook);
    EXPECT_EQ(connection, nullptr);
}

std::string cp936_from_utf8(const std::string& bytes) {
    const int wide_length =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                        wide_length);
    const int length =
        WideCharToMultiByte(936, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(936, 0, wide.data(), wide_length, text.data(), length, nullptr, nullptr);
    return text;
}

TEST_F(LineTest, WithoutAScenarioFileTheBuiltInDefaultApplies) {
    const std::vector<std::string> default_phonebook{"宽带连接"};
    ASSERT_TRUE(SetEnvironmentVariableA("TOLVANE_LINE_SCENARIO",
                                        lc::temporary_scenario_path("no-such.scenario").c_str()));
    ASSERT_TRUE(lc::reset_line());
    EXPECT_EQ(phonebook().names, default_phonebook);
    EXPECT_EQ(lc::scenario_path(), "");
    EXPECT_NE(lc::scenario_problem().find("cannot read"), std::string::npos);

    ASSERT_TRUE(lc::use_default_scenario());
    EXPECT_EQ(phonebook().names, default_phonebook);
    EXPECT_EQ(lc::scenario_problem(), "");

    // What the built-in scenario promises, read from the DLL itself.
    HMODULE line = GetModuleHandleA("rasapi32.dll");
    HRSRC resource = FindResourceA(line, MAKEINTRESOURCEA(1), RT_RCDATA);
    ASSERT_NE(resource, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(line, resource))),
                           SizeofResource(line, resource));
    const simline::ParseResult parsed = simline::parse_scenario(cp936_from_utf8(text));
    ASSERT_EQ(parsed.problem, "");
    const simline::Scenario& s = parsed.scenario;
    EXPECT_EQ(s.entries, default_phonebook);
    EXPECT_TRUE(s.accepts("any account", "tolvane"));
    EXPECT_FALSE(s.accepts("", "tolvane"));
    EXPECT_FALSE(s.accepts("any account", "wrong"));
    EXPECT_TRUE(s.connections.empty());
    EXPECT_FALSE(s.refuse_dial || s.fail_at || s.fail_enum_entries || s.fail_enum_connections ||
                 s.hang_up_never_completes || s.early_first_state);
    // A human pace: every state text can be read.
    for (RASCONNSTATE state :
         {RASCS_OpenPort, RASCS_PortOpened, RASCS_ConnectDevice, RASCS_DeviceConnected,
          RASCS_Authenticate, RASCS_Authenticated, RASCS_Connected}) {
        EXPECT_GE(s.delay_before(state), 200u) << state;
        EXPECT_LE(s.delay_before(state), 1000u) << state;
    }
    EXPECT_LT(s.hang_up_ms, 3000u);
}

// ---- Nothing grows ----

std::size_t threads_of_this_process() {
    UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    std::size_t n = 0;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++n;
    }
    return n;
}

// The value the next kernel handle gets; it climbs when handles leak.
UINT_PTR next_handle_value() {
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const auto value = reinterpret_cast<UINT_PTR>(probe);
    CloseHandle(probe);
    return value;
}

ULONGLONG state_file_size() {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(lc::temporary_scenario_path("tolvane-line.state").c_str(),
                         GetFileExInfoStandard, &data);
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST_F(LineTest, ManyDialsAndHangUpsLeaveNothingBehind) {
    ASSERT_TRUE(use("entry isp\nstate-time 0\nhangup-time 0\n"));
    constexpr int kCycles = 200;
    HRASCONN connection = nullptr;
    // One round first, so that everything made once is made.
    ASSERT_EQ(dial_async(dial_params("isp", "u", "p"), &connection), 0u);
    ASSERT_TRUE(recorder.wait_for_end(5000));
    RasHangUpA(connection);
    Sleep(200);  // the dial's thread ends
    const std::size_t threads = threads_of_this_process();
    const UINT_PTR handle_value = next_handle_value();
    const ULONGLONG file_size = state_file_size();
    ASSERT_GT(file_size, 0u);

    for (int i = 0; i < kCycles; ++i) {
        recorder.clear();
        connection = nullptr;
        ASSERT_EQ(dial_async(dial_params("isp", "u", std::to_string(i).c_str()), &connection), 0u);
        ASSERT_TRUE(recorder.wait_for_end(5000)) << i;
        ASSERT_EQ(RasHangUpA(connection), 0u);
    }

    EXPECT_TRUE(wait_until([&] { return threads_of_this_process() <= threads; }, 5000))
        << threads_of_this_process() << " threads, " << threads << " before";
    EXPECT_LE(next_handle_value(), handle_value + 16 * sizeof(HANDLE));
    EXPECT_EQ(state_file_size(), file_size);
    EXPECT_TRUE(lc::connections().empty());
    EXPECT_EQ(lc::dial_count(), kCycles + 1u);
    const std::vector<lc::Dial> log = lc::dial_log();
    ASSERT_EQ(log.size(), 64u);
    EXPECT_EQ(log.back().password, std::to_string(kCycles - 1));
}

}  // namespace
}  // namespace tolvane
