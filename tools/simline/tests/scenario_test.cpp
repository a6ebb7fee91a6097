// The scenario parser, the dial plan and the shared line record, without the
// platform.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/simline/line_state.h"
#include "tools/simline/scenario.h"

namespace tolvane::simline {
namespace {

TEST(ScenarioParsing, ReadsEveryDirective) {
    const ParseResult r = parse_scenario(
        "# a comment line\n"
        "entry \"宽带连接\"\n"
        "entry Office   # a bare name, then a comment\n"
        "entries 2 线路\n"
        "connection \"公司VPN\"\n"
        "connection backup Authenticate\n"
        "credentials * \"tolvane\"\n"
        "credentials \"guest\" \"\"\n"
        "state-time 25\n"
        "state-time authnotify 70\n"
        "hangup-time 800\n"
        "device \"modem\" \"Standard Modem\"\n"
        "early-first-state\n"
        "fail dial 633 with-handle\n"
        "fail enum-entries 621\n"
        "fail enum-connections 668\n"
        "fail at ConnectDevice 678\n"
        "fail hangup\n");
    ASSERT_EQ(r.problem, "");
    const Scenario& s = r.scenario;
    EXPECT_EQ(s.entries, (std::vector<std::string>{"宽带连接", "Office", "线路1", "线路2"}));
    ASSERT_EQ(s.connections.size(), 2u);
    EXPECT_EQ(s.connections[0].entry_name, "公司VPN");
    EXPECT_EQ(s.connections[0].state, RASCS_Connected);
    EXPECT_EQ(s.connections[1].entry_name, "backup");
    EXPECT_EQ(s.connections[1].state, RASCS_Authenticate);
    ASSERT_EQ(s.credentials.size(), 2u);
    EXPECT_TRUE(s.credentials[0].any_user_name);
    EXPECT_EQ(s.credentials[0].password, "tolvane");
    EXPECT_EQ(s.credentials[1].user_name, "guest");
    EXPECT_FALSE(s.credentials[1].any_password);
    EXPECT_EQ(s.credentials[1].password, "");
    EXPECT_EQ(s.delay_before(RASCS_PortOpened), 25u);
    EXPECT_EQ(s.delay_before(RASCS_AuthNotify), 70u);
    EXPECT_EQ(s.hang_up_ms, 800u);
    EXPECT_EQ(s.device_type, "modem");
    EXPECT_EQ(s.device_name, "Standard Modem");
    EXPECT_TRUE(s.early_first_state);
    EXPECT_EQ(s.refuse_dial, 633u);
    EXPECT_TRUE(s.refuse_dial_with_handle);
    EXPECT_EQ(s.fail_enum_entries, 621u);
    EXPECT_EQ(s.fail_enum_connections, 668u);
    ASSERT_TRUE(s.fail_at.has_value());
    EXPECT_EQ(s.fail_at->state, RASCS_ConnectDevice);
    EXPECT_EQ(s.fail_at->error, 678u);
    EXPECT_TRUE(s.hang_up_never_completes);
}

TEST(ScenarioParsing, QuotesCommentsAndDoubleByteTexts) {
    struct Case {
        const char* text;
        const char* entry;
    };
    const Case cases[] = {
        {"entry \"a # b\" # the comment starts here", "a # b"},
        {"entry \"say \\\"hi\\\" \\\\ \\n\"", "say \"hi\" \\ \\n"},
        {"entry 宽带连接", "宽带连接"},
        {"\tentry\t\"x y\"\r", "x y"},
        // 0x5C as the trail byte of a double-byte character is no backslash.
        {"entry \"\x95\x5C\"", "\x95\x5C"},
        {"entry \x95\x5C#", "\x95\x5C"},
        // A lead byte before the closing quote is no character: the quote closes.
        {"entry \"\x95\"", "\x95"},
    };
    for (const Case& c : cases) {
        const ParseResult r = parse_scenario(c.text);
        ASSERT_EQ(r.problem, "") << c.text;
        ASSERT_EQ(r.scenario.entries.size(), 1u) << c.text;
        EXPECT_EQ(r.scenario.entries[0], c.entry) << c.text;
    }
    EXPECT_EQ(parse_scenario("").scenario.entries.size(), 0u);
    EXPECT_EQ(parse_scenario("entry a\r\n\r\nentry b\r\n").scenario.entries.size(), 2u);
}

TEST(ScenarioParsing, ReportsTheLineOfAProblemAndKeepsNothing) {
    const std::string long_name(257, 'x');
    struct Case {
        std::string text;
        const char* problem_start;
    };
    const Case cases[] = {
        {"entry", "line 1: "},
        {"entry \"\"", "line 1: "},
        {"entry a b", "line 1: "},
        {"entry \"" + long_name + "\"", "line 1: "},
        {"\n\nentry \"not closed", "line 3: "},
        {"entry \"\\\"", "line 1: "},
        {"entry a\nentry A", "line 2: "},
        {"frobnicate 1", "line 1: unknown keyword"},
        {"state-time fast", "line 1: "},
        {"state-time -5", "line 1: "},
        {"state-time 600001", "line 1: "},
        {"state-time 10\nstate-time 20", "line 2: "},
        {"state-time Bogus 10", "line 1: "},
        {"state-time Disconnected 10", "line 1: "},
        {"state-time AuthNotify 1\nstate-time authnotify 2", "line 2: "},
        {"hangup-time", "line 1: "},
        {"connection x Bogus", "line 1: "},
        {"credentials onlyone", "line 1: "},
        {"device PPPoE", "line 1: "},
        {"device \"" + long_name + "\" x", "line 1: "},
        {"early-first-state yes", "line 1: "},
        {"entries 4097 x", "line 1: "},
        {"entries 3", "line 1: "},
        {"fail", "line 1: "},
        {"fail nothing 5", "line 1: "},
        {"fail dial", "line 1: "},
        {"fail dial 0", "line 1: "},
        {"fail dial 633 with-nothing", "line 1: "},
        {"fail dial 633\nfail dial 634", "line 2: "},
        {"fail at Connected 5", "line 1: "},
        {"fail at Bogus 5", "line 1: "},
        {"fail at AuthNotify", "line 1: "},
        {"fail enum-entries", "line 1: "},
        {"fail enum-connections 99999999999", "line 1: "},
        {"fail hangup now", "line 1: "},
    };
    for (const Case& c : cases) {
        const ParseResult r = parse_scenario(c.text);
        EXPECT_EQ(r.problem.rfind(c.problem_start, 0), 0u) << c.text << " gave: " << r.problem;
    }
    // A scenario with a problem gives nothing of what came before it.
    const ParseResult r = parse_scenario("entry kept\nstate-time 5\nbogus");
    EXPECT_EQ(r.problem.rfind("line 3: ", 0), 0u);
    EXPECT_TRUE(r.scenario.entries.empty());
    EXPECT_EQ(r.scenario.state_ms, Scenario{}.state_ms);
}

TEST(ScenarioParsing, StatesGoByTheirPlatformNames) {
    for (RASCONNSTATE state : kDialWalk) {
        const char* name = state_name(state);
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(state_from_name(name), state);
    }
    EXPECT_EQ(state_from_name("CONNECTDEVICE"), RASCS_ConnectDevice);
    EXPECT_EQ(state_from_name("Disconnected"), RASCS_Disconnected);
    EXPECT_FALSE(state_from_name("RASCS_OpenPort").has_value());
    EXPECT_EQ(state_name(12345), nullptr);
}

std::vector<RASCONNSTATE> states_of(const std::vector<DialStep>& steps) {
    std::vector<RASCONNSTATE> states;
    for (const DialStep& s : steps)
        states.push_back(s.state);
    return states;
}

TEST(DialPlan, WalksToConnectedOrStopsAtTheFirstError) {
    const std::vector<RASCONNSTATE> walk(std::begin(kDialWalk), std::end(kDialWalk));
    const std::vector<RASCONNSTATE> to_auth_notify(walk.begin(), walk.begin() + 7);
    const std::vector<RASCONNSTATE> to_connect_device(walk.begin(), walk.begin() + 3);
    struct Case {
        const char* scenario;
        const char* user;
        const char* password;
        std::vector<RASCONNSTATE> states;
        DWORD last_error;
    };
    const Case cases[] = {
        {"credentials * tolvane", "account", "tolvane", walk, 0},
        {"credentials * tolvane", "account", "Tolvane", to_auth_notify, 691},
        {"credentials * tolvane", "", "tolvane", to_auth_notify, 691},
        {"credentials * *", "a", "", to_auth_notify, 691},
        {"credentials * *", "a", "b", walk, 0},
        {"", "", "", walk, 0},
        {"credentials \"\" \"\"", "", "", walk, 0},
        {"credentials \"\" \"\"", "a", "", to_auth_notify, 691},
        {"credentials \"*\" \"*\"", "a", "b", to_auth_notify, 691},
        {"credentials \"*\" \"*\"", "*", "*", walk, 0},
        {"credentials u1 p1\ncredentials u2 p2", "u2", "p2", walk, 0},
        {"credentials u1 p1\ncredentials u2 p2", "u1", "p2", to_auth_notify, 691},
        {"credentials u1 p1", "U1", "p1", to_auth_notify, 691},
        // An injected error comes first, whatever the credentials.
        {"credentials * tolvane\nfail at ConnectDevice 678", "a", "wrong", to_connect_device, 678},
        {"fail at AuthNotify 649", "a", "b", to_auth_notify, 649},
        {"fail at Projected 720", "a", "b", std::vector<RASCONNSTATE>(walk.begin(), walk.end() - 1),
         720},
    };
    for (const Case& c : cases) {
        const ParseResult r = parse_scenario(c.scenario);
        ASSERT_EQ(r.problem, "") << c.scenario;
        const std::vector<DialStep> steps = plan_dial(r.scenario, c.user, c.password);
        EXPECT_EQ(states_of(steps), c.states)
            << c.scenario << " / " << c.user << " / " << c.password;
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(steps.back().error, c.last_error) << c.scenario;
        for (std::size_t i = 0; i + 1 < steps.size(); ++i)
            EXPECT_EQ(steps[i].error, 0u);
    }
}

TEST(DialPlan, EachStateWaitsItsOwnTime) {
    const ParseResult r = parse_scenario("state-time 40\nstate-time Authenticate 900\n");
    for (const DialStep& s : plan_dial(r.scenario, "", ""))
        EXPECT_EQ(s.delay_ms, s.state == RASCS_Authenticate ? 900u : 40u) << s.state;
}

TEST(EntryNames, CompareAsThePhonebookDoes) {
    EXPECT_TRUE(same_entry_name("Office Line", "oFFICE lINE"));
    EXPECT_TRUE(same_entry_name("宽带连接", "宽带连接"));
    EXPECT_FALSE(same_entry_name("宽带连接", "宽带连"));
    EXPECT_FALSE(same_entry_name("ab", "abc"));
    // A trail byte that happens to be a letter is no letter.
    EXPECT_FALSE(
        same_entry_name("\x95"
                        "A",
                        "\x95"
                        "a"));
    EXPECT_TRUE(
        same_entry_name("\x95"
                        "Ax",
                        "\x95"
                        "AX"));
}

class SharedLineTest : public ::testing::Test {
  protected:
    SharedLineTest() : line_(std::make_unique<SharedLine>()) {
        scenario_ = parse_scenario("connection Other\nconnection Half Authenticate\n").scenario;
        reset_line(*line_, scenario_, 7, 1, 0x10000);
    }

    static bool alive_if_even(DWORD process_id, ULONGLONG, void*) { return process_id % 2 == 0; }

    std::unique_ptr<SharedLine> line_;
    Scenario scenario_;
};

TEST_F(SharedLineTest, ResetBringsUpTheScenarioConnectionsAndKeepsHandlesCounting) {
    EXPECT_TRUE(is_valid_line(*line_));
    ConnectionSlot* listed[kMaxConnections];
    ASSERT_EQ(listed_connections(*line_, listed, kMaxConnections), 2u);
    EXPECT_STREQ(listed[0]->entry_name, "Other");
    EXPECT_EQ(listed[0]->phase, Phase::Connected);
    EXPECT_EQ(listed[0]->state, RASCS_Connected);
    EXPECT_STREQ(listed[1]->entry_name, "Half");
    EXPECT_EQ(listed[1]->state, RASCS_Authenticate);
    EXPECT_EQ(listed[0]->owner_process_id, 0u);
    const DWORD old_handle = listed[1]->handle;

    reset_line(*line_, scenario_, 8, 1, 0x10000);
    ASSERT_EQ(listed_connections(*line_, listed, kMaxConnections), 2u);
    EXPECT_GT(listed[0]->handle, old_handle);
    EXPECT_EQ(line_->scenario_id, 8u);
}

TEST_F(SharedLineTest, HandlesAreNeverZeroNorReusedWhileTheLineLasts) {
    std::vector<DWORD> seen;
    for (int round = 0; round < 200; ++round) {
        ConnectionSlot* slot = open_connection(*line_, "x", scenario_, 2, 0);
        ASSERT_NE(slot, nullptr);
        ASSERT_NE(slot->handle, 0u);
        EXPECT_EQ(slot->handle % 4, 0u);
        for (DWORD h : seen)
            ASSERT_NE(h, slot->handle);
        seen.push_back(slot->handle);
        hang_up(*slot, 0, 0, false);
        settle(*line_, 0, 0, alive_if_even, nullptr);
        EXPECT_EQ(find_connection(*line_, slot->handle), nullptr);
    }
    EXPECT_EQ(find_connection(*line_, 0), nullptr);
}

TEST_F(SharedLineTest, TheLineHoldsAFixedNumberOfConnections) {
    std::size_t opened = 2;
    while (open_connection(*line_, "x", scenario_, 2, 0))
        ++opened;
    EXPECT_EQ(opened, kMaxConnections);
}

TEST_F(SharedLineTest, HangUpsCompleteOnTimeAndDialsOfVanishedProcessesGoDown) {
    ConnectionSlot* mine = open_connection(*line_, "mine", scenario_, 2, 0);      // owner alive
    ConnectionSlot* orphan = open_connection(*line_, "orphan", scenario_, 3, 0);  // owner gone
    ConnectionSlot* failed = open_connection(*line_, "failed", scenario_, 5, 0);
    failed->phase = Phase::Failed;
    ConnectionSlot* up = open_connection(*line_, "up", scenario_, 0, 0);
    up->phase = Phase::Connected;
    const DWORD orphan_handle = orphan->handle;
    const DWORD failed_handle = failed->handle;

    settle(*line_, 1000, 300, alive_if_even, nullptr);
    EXPECT_EQ(mine->phase, Phase::Dialing);
    EXPECT_EQ(up->phase, Phase::Connected);
    ConnectionSlot* o = find_connection(*line_, orphan_handle);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->phase, Phase::HangingUp);
    EXPECT_EQ(o->state, RASCS_Disconnected);
    EXPECT_EQ(find_connection(*line_, failed_handle)->phase, Phase::HangingUp);

    settle(*line_, 1299, 300, alive_if_even, nullptr);
    EXPECT_NE(find_connection(*line_, orphan_handle), nullptr);
    settle(*line_, 1300, 300, alive_if_even, nullptr);
    EXPECT_EQ(find_connection(*line_, orphan_handle), nullptr);
    EXPECT_EQ(find_connection(*line_, failed_handle), nullptr);

    // Going down, a connection is no longer listed, but still answers.
    hang_up(*up, 2000, 0, true);
    settle(*line_, 999999999, 300, alive_if_even, nullptr);
    ConnectionSlot* listed[kMaxConnections];
    const std::size_t n = listed_connections(*line_, listed, kMaxConnections);
    for (std::size_t i = 0; i < n; ++i)
        EXPECT_NE(listed[i], up);
    EXPECT_EQ(up->phase, Phase::HangingUp);
    EXPECT_EQ(all_connections(*line_, listed, kMaxConnections), n + 1);
}

TEST_F(SharedLineTest, ConnectionsAreListedInTheOrderTheyWereMade) {
    ConnectionSlot* a = open_connection(*line_, "a", scenario_, 2, 0);
    open_connection(*line_, "b", scenario_, 2, 0);
    hang_up(*a, 0, 0, false);
    settle(*line_, 0, 0, alive_if_even, nullptr);
    open_connection(*line_, "c", scenario_, 2, 0);  // takes a's slot
    ConnectionSlot* listed[kMaxConnections];
    ASSERT_EQ(listed_connections(*line_, listed, 3), 4u);
    EXPECT_STREQ(listed[0]->entry_name, "Other");
    EXPECT_STREQ(listed[2]->entry_name, "b");
    ConnectionSlot* all[kMaxConnections];
    ASSERT_EQ(listed_connections(*line_, all, kMaxConnections), 4u);
    EXPECT_STREQ(all[3]->entry_name, "c");
}

TEST_F(SharedLineTest, TheDialLogKeepsTheLastDialsInOrder) {
    const DialRecord* kept[kDialLogSize];
    EXPECT_EQ(logged_dials(*line_, kept, kDialLogSize), 0u);
    for (int i = 1; i <= 100; ++i) {
        DialRecord& r = log_dial(*line_);
        copy_text(r.user_name, sizeof r.user_name, std::to_string(i).c_str());
    }
    EXPECT_EQ(line_->dial_count, 100u);
    ASSERT_EQ(logged_dials(*line_, kept, kDialLogSize), kDialLogSize);
    EXPECT_EQ(kept[0]->serial, 100u - kDialLogSize + 1);
    EXPECT_STREQ(kept[kDialLogSize - 1]->user_name, "100");
    EXPECT_EQ(logged_dials(*line_, kept, 2), 2u);
    reset_line(*line_, scenario_, 7, 1, 0);
    EXPECT_EQ(logged_dials(*line_, kept, kDialLogSize), 0u);
}

TEST(CopyText, CutsToTheFieldAndAlwaysTerminates) {
    char field[4] = {'x', 'x', 'x', 'x'};
    copy_text(field, sizeof field, "abcdef");
    EXPECT_STREQ(field, "abc");
    copy_text(field, sizeof field, nullptr);
    EXPECT_STREQ(field, "");
}

}  // namespace
}  // namespace tolvane::simline
