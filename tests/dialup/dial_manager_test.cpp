// The dial manager against the fake service: what it asks of the service,
// and what the status label shows.
#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "tests/dialup/dial_fixture.h"

namespace tolvane {
namespace {

using testing::fake_ras;
using testing::report_state;

class DialManagerTest : public testing::DialFixture {};

TEST_F(DialManagerTest, DialsTheIndexedEntryWithTheClassicRecords) {
    fake_ras().entries = {"宽带连接", "公司VPN"};
    ASSERT_TRUE(dial("@1", "user@isp", "secret", false, Control::标签1));

    ASSERT_EQ(fake_ras().entry_enums.size(), 1u);
    const testing::EnumCall& e = fake_ras().entry_enums[0];
    EXPECT_EQ(e.first_record_size, 264u);
    EXPECT_EQ(e.byte_count, 10032u);
    EXPECT_EQ(e.count, 0u);
    EXPECT_TRUE(e.reserved_null);
    EXPECT_TRUE(e.phonebook_null);

    ASSERT_EQ(fake_ras().dials.size(), 1u);
    const testing::DialCall& d = fake_ras().dials[0];
    EXPECT_EQ(d.dial_extensions, nullptr);
    EXPECT_EQ(d.phonebook, "(null)");
    EXPECT_EQ(d.params.dwSize, 1052u);
    EXPECT_STREQ(d.params.szEntryName, "公司VPN");
    EXPECT_STREQ(d.params.szPhoneNumber, "");
    EXPECT_STREQ(d.params.szCallbackNumber, "");
    EXPECT_STREQ(d.params.szUserName, "user@isp");
    EXPECT_STREQ(d.params.szPassword, "secret");
    EXPECT_STREQ(d.params.szDomain, "");
    EXPECT_EQ(d.notifier_type, 0u);
    EXPECT_EQ(d.notifier, reinterpret_cast<LPVOID>(&dial_notifier));
    EXPECT_EQ(d.connection_out, &dial_state.connection);

    EXPECT_EQ(dial_state.connection, fake_ras().last_dialed());
    EXPECT_EQ(dial_state.status_window, main_.control(Control::标签1));
    EXPECT_EQ(status_text(), "before") << "dial writes no text of its own";
}

TEST_F(DialManagerTest, ATextWithoutAtIsAPhoneNumber) {
    ASSERT_TRUE(dial("0571 8888", "u", "p"));
    EXPECT_TRUE(fake_ras().entry_enums.empty());
    ASSERT_EQ(fake_ras().dials.size(), 1u);
    EXPECT_STREQ(fake_ras().dials[0].params.szPhoneNumber, "0571 8888");
    EXPECT_STREQ(fake_ras().dials[0].params.szEntryName, "");
    EXPECT_EQ(dial_state.status_window, nullptr) << "no status control given";
}

TEST_F(DialManagerTest, PicksTheEntryByTheNumberAfterTheAt) {
    struct Case {
        const char* entry;
        const char* dialed;  // null: no dial
    };
    const Case cases[] = {
        {"@", "A"},
        {"@0", "A"},
        {"@1", "B"},
        {"@2", nullptr},
        {"@-1", nullptr},
        {"@ 1", "B"},
        {"@\t+1", "B"},
        {"@1x", "B"},
        {"@x", "A"},
        {"@+", "A"},
        {"@99999999999", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        testing::reset_fake_ras();
        fake_ras().entries = {"A", "B"};
        set_control_text(Control::标签1, "before");
        const bool dialed = dial(c.entry, "u", "p", false, Control::标签1);
        EXPECT_EQ(dialed, c.dialed != nullptr);
        if (c.dialed) {
            ASSERT_EQ(fake_ras().dials.size(), 1u);
            EXPECT_STREQ(fake_ras().dials[0].params.szEntryName, c.dialed);
        } else {
            EXPECT_TRUE(fake_ras().dials.empty());
            EXPECT_EQ(status_text(), "before");
        }
        hang_up_all();
    }
}

TEST_F(DialManagerTest, APhonebookThatCannotBeListedDialsNothing) {
    struct Case {
        const char* name;
        std::size_t entries;
        DWORD forced_result;
    };
    const Case cases[] = {
        {"empty", 0, 0},
        {"39 entries do not fit the buffer", 39, 0},
        {"the service fails", 1, 621},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::reset_fake_ras();
        fake_ras().entries.assign(c.entries, "x");
        fake_ras().enum_entries_result = c.forced_result;
        EXPECT_FALSE(dial("@", "u", "p", false, Control::标签1));
        EXPECT_TRUE(fake_ras().dials.empty());
        EXPECT_EQ(dial_state.connection, nullptr);
    }
    fake_ras().entries.assign(38, "x");
    fake_ras().enum_entries_result = 0;
    EXPECT_TRUE(dial("@37", "u", "p")) << "38 entries fit";
}

TEST_F(DialManagerTest, AnEarlierDialIsHungUpAndWaitedForFirst) {
    ASSERT_TRUE(dial("@", "u", "p", false, Control::标签1));
    HRASCONN first = dial_state.connection;
    ASSERT_TRUE(dial("@", "u2", "p2", false, Control::标签1));

    const std::string hang_up = "hang_up " + std::to_string(reinterpret_cast<UINT_PTR>(first));
    const auto& log = fake_ras().log;
    auto hung = std::find(log.begin(), log.end(), hang_up);
    ASSERT_NE(hung, log.end());
    EXPECT_EQ(std::count(hung, log.end(), "dial"), 1) << "hung up before the second dial";
    EXPECT_FALSE(fake_ras().exists(first)) << "waited until the handle was gone";
    EXPECT_NE(dial_state.connection, first);
    EXPECT_EQ(status_text(), "before") << "no 连接被挂断 for a release";
}

TEST_F(DialManagerTest, ADialTheServiceRefusesIsReleasedAtOnce) {
    fake_ras().dial_result = 633;
    EXPECT_FALSE(dial("@", "u", "p", false, Control::标签1));
    ASSERT_EQ(fake_ras().hang_ups.size(), 1u) << "the handle stored despite the failure";
    EXPECT_EQ(fake_ras().hang_ups[0], fake_ras().last_dialed());
    EXPECT_EQ(dial_state.connection, nullptr);
    EXPECT_EQ(dial_state.status_window, nullptr);
    EXPECT_EQ(status_text(), "before");
}

TEST_F(DialManagerTest, TextsLongerThanTheirFieldsAreRefused) {
    const std::string at_limit(256, 'a');
    const std::string over_limit(257, 'a');
    struct Case {
        std::string entry, user, password;
        bool dials;
    };
    const Case cases[] = {
        {"@", at_limit, at_limit, true},
        {"@", over_limit, "p", false},
        {"@", "u", over_limit, false},
        {std::string(128, '1'), "u", "p", true},
        {std::string(129, '1'), "u", "p", false},
    };
    for (const Case& c : cases) {
        testing::reset_fake_ras();
        fake_ras().entries = {"宽带连接"};
        EXPECT_EQ(dial(c.entry.c_str(), c.user.c_str(), c.password.c_str()), c.dials)
            << c.entry.size() << " " << c.user.size() << " " << c.password.size();
        EXPECT_EQ(fake_ras().dials.size(), c.dials ? 1u : 0u);
        if (c.dials) {
            EXPECT_EQ(fake_ras().dials[0].params.szUserName, c.user);
            EXPECT_EQ(fake_ras().dials[0].params.szPassword, c.password);
        }
        hang_up_all();
    }
}

TEST_F(DialManagerTest, StatesReachTheLabelOnlyWhileTheDialIsCurrent) {
    ASSERT_TRUE(dial("@", "u", "p", false, Control::标签1));
    report_state(RASCS_Authenticate);
    EXPECT_EQ(status_text(), "正在验证用户");
    report_state(RASCS_AllDevicesConnected);
    EXPECT_EQ(status_text(), "正在验证用户") << "a state without a text changes nothing";
    report_state(RASCS_AuthNotify, 691);
    EXPECT_EQ(status_text(), "用户验证失败");
    report_state(RASCS_ConnectDevice, 678);
    EXPECT_EQ(status_text(), "有错误发生");
    EXPECT_NE(dial_state.connection, nullptr) << "an error keeps the handle";
    EXPECT_FALSE(is_online());

    hang_up_all();
    EXPECT_EQ(status_text(), "连接被挂断");
    report_state(RASCS_Connected);
    EXPECT_EQ(status_text(), "连接被挂断") << "the released dial writes nothing";
}

TEST_F(DialManagerTest, AStateReportedBeforeRasDialReturnsIsNotShown) {
    fake_ras().inside_dial = [] {
        std::thread service([] {
            reinterpret_cast<RasDialFunc>(fake_ras().dials.back().notifier)(0xCCCD, RASCS_OpenPort,
                                                                            0);
        });
        service.join();
    };
    ASSERT_TRUE(dial("@", "u", "p", false, Control::标签1));
    testing::pump_for(50);
    EXPECT_EQ(status_text(), "before");
    report_state(RASCS_PortOpened);
    EXPECT_EQ(status_text(), "端口被打开");
}

TEST_F(DialManagerTest, ASynchronousDialHasNoNotifierAndNoStatusWindow) {
    ASSERT_TRUE(dial("@", "u", "p", true, Control::标签1));
    EXPECT_EQ(fake_ras().dials[0].notifier, nullptr);
    EXPECT_EQ(dial_state.status_window, nullptr);
    EXPECT_NE(dial_state.connection, nullptr);
}

TEST_F(DialManagerTest, HangUpAllEndsTheStoredDialThenEveryListedConnection) {
    HRASCONN other1 = fake_ras().add_connection(RASCS_Connected, true);
    HRASCONN other2 = fake_ras().add_connection(RASCS_Connected, true);
    ASSERT_TRUE(dial("@", "u", "p", false, Control::标签1));
    HRASCONN stored = dial_state.connection;
    std::vector<std::pair<HRASCONN, std::string>> seen;
    fake_ras().on_hang_up = [&](HRASCONN h) { seen.emplace_back(h, status_text()); };

    hang_up_all();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0].first, stored);
    EXPECT_EQ(seen[0].second, "before");
    // The text comes after the stored dial's hang-up and wait, before the rest.
    EXPECT_EQ(seen[1].second, "连接被挂断");
    std::vector<HRASCONN> rest;
    for (std::size_t i = 1; i < seen.size(); ++i)
        rest.push_back(seen[i].first);
    EXPECT_NE(std::find(rest.begin(), rest.end(), other1), rest.end());
    EXPECT_NE(std::find(rest.begin(), rest.end(), other2), rest.end());
    EXPECT_EQ(dial_state.connection, nullptr);
    EXPECT_FALSE(is_online());
}

TEST_F(DialManagerTest, HangUpAllWritesNoTextWithoutAStoredDialWithAStatusWindow) {
    fake_ras().add_connection(RASCS_Connected, true);
    hang_up_all();
    EXPECT_EQ(status_text(), "before");
    EXPECT_EQ(fake_ras().hang_ups.size(), 1u) << "another program's connection";

    ASSERT_TRUE(dial("@", "u", "p", true, Control::标签1));  // no status window
    hang_up_all();
    EXPECT_EQ(status_text(), "before");

    fake_ras().enum_connections_result = 600;
    ASSERT_TRUE(dial("@", "u", "p"));
    const std::size_t before = fake_ras().hang_ups.size();
    hang_up_all();
    EXPECT_EQ(fake_ras().hang_ups.size(), before + 1) << "only the stored one when listing fails";
}

TEST_F(DialManagerTest, TheHangUpWaitEndsWhenTheHandleGoesOrAfterThreeSeconds) {
    fake_ras().polls_until_gone = 3;
    fake_ras().add_connection(RASCS_Connected, true);
    DWORD start = GetTickCount();
    hang_up_all();
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(fake_ras().status_queries, 4) << "three answers, then ERROR_INVALID_HANDLE";

    testing::reset_fake_ras();
    fake_ras().polls_until_gone = -1;  // never goes
    fake_ras().add_connection(RASCS_Connected, true);
    start = GetTickCount();
    hang_up_all();
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 2990u);
    EXPECT_LT(elapsed, 6000u);
}

TEST_F(DialManagerTest, IsOnlineLooksAtTheStoredDialThenAtEveryConnection) {
    EXPECT_FALSE(is_online());
    ASSERT_TRUE(dial("@", "u", "p"));
    EXPECT_FALSE(is_online()) << "still dialing";
    fake_ras().set_state(dial_state.connection, RASCS_Connected);
    EXPECT_TRUE(is_online());
    fake_ras().enum_connections_result = 600;
    EXPECT_TRUE(is_online()) << "the stored dial alone decides when listing fails";
    hang_up_all();

    fake_ras().enum_connections_result = 0;
    HRASCONN other = fake_ras().add_connection(RASCS_Authenticate, true);
    EXPECT_FALSE(is_online());
    fake_ras().set_state(other, RASCS_Connected);
    EXPECT_TRUE(is_online()) << "another program's connection counts";
    EXPECT_EQ(dial_state.connection, nullptr) << "is_online stores nothing";
    {
        std::lock_guard lock(fake_ras().mutex);
        fake_ras().connections[other].status_fails = true;
    }
    EXPECT_FALSE(is_online()) << "a failing status query is not connected";
}

TEST_F(DialManagerTest, CleanUpLeavesAnEstablishedConnectionAndHangsUpTheRest) {
    ASSERT_TRUE(dial("@", "u", "p", false, Control::标签1));
    fake_ras().set_state(dial_state.connection, RASCS_Connected);
    clean_up_dial_state();
    EXPECT_TRUE(fake_ras().hang_ups.empty());
    EXPECT_EQ(dial_state.connection, nullptr);
    EXPECT_EQ(dial_state.status_window, nullptr);

    ASSERT_TRUE(dial("@", "u", "p", false, Control::标签1));
    HRASCONN dialing = dial_state.connection;
    clean_up_dial_state();
    ASSERT_EQ(fake_ras().hang_ups.size(), 1u);
    EXPECT_EQ(fake_ras().hang_ups[0], dialing);
    EXPECT_FALSE(fake_ras().exists(dialing));
    EXPECT_EQ(status_text(), "before") << "no text at exit";

    const std::size_t before = fake_ras().log.size();
    clean_up_dial_state();
    EXPECT_EQ(fake_ras().log.size(), before) << "nothing stored, nothing done";
}

TEST_F(DialManagerTest, ANotifierRacingWithTheHangUpWritesNothingAfterTheRelease) {
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        fake_ras().polls_until_gone = round % 4;
        ASSERT_TRUE(dial("@", "u", "p", false, Control::标签1));
        LPVOID notifier = fake_ras().dials.back().notifier;
        std::atomic<bool> stop{false};
        std::atomic<bool> finished{false};
        std::thread service([&] {
            while (!stop)
                reinterpret_cast<RasDialFunc>(notifier)(0xCCCD, RASCS_Authenticate, 0);
            finished = true;
        });
        testing::pump_for(static_cast<DWORD>(round % 3) * 5);
        hang_up_all();
        EXPECT_EQ(status_text(), "连接被挂断");
        testing::pump_for(30);  // late notifications are taken now
        EXPECT_EQ(status_text(), "连接被挂断");
        stop = true;
        testing::pump_until([&] { return finished.load(); });
        service.join();
        testing::pump_for(10);
        EXPECT_EQ(status_text(), "连接被挂断");
    }
}

}  // namespace
}  // namespace tolvane
