#include "tools/simline/scenario.h"

namespace tolvane::simline {

namespace {

struct NamedState {
    const char* name;
    RASCONNSTATE state;
};

constexpr NamedState kStateNames[] = {
    {"OpenPort", RASCS_OpenPort},
    {"PortOpened", RASCS_PortOpened},
    {"ConnectDevice", RASCS_ConnectDevice},
    {"DeviceConnected", RASCS_DeviceConnected},
    {"AllDevicesConnected", RASCS_AllDevicesConnected},
    {"Authenticate", RASCS_Authenticate},
    {"AuthNotify", RASCS_AuthNotify},
    {"Authenticated", RASCS_Authenticated},
    {"Projected", RASCS_Projected},
    {"Connected", RASCS_Connected},
    {"Disconnected", RASCS_Disconnected},
};

// A double-byte character of code page 936 starts at i: a lead byte and a
// trail byte. A lead byte before anything else stands alone.
bool double_byte_at(std::string_view s, std::size_t i) {
    if (i + 1 >= s.size())
        return false;
    const auto lead = static_cast<unsigned char>(s[i]);
    const auto trail = static_cast<unsigned char>(s[i + 1]);
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

char ascii_lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    }
    return true;
}

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits one line into words and quoted texts; '#' outside quotes ends the
// line. Returns a problem, or an empty string.
std::string tokenize(std::string_view line, std::vector<Token>& tokens) {
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        Token token;
        if (c == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const auto b = static_cast<unsigned char>(line[i]);
                if (double_byte_at(line, i)) {
                    token.text.append(line.substr(i, 2));
                    i += 2;
                } else if (b == '\\' && i + 1 < n && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                    token.text.push_back(line[i + 1]);
                    i += 2;
                } else if (b == '"') {
                    ++i;
                    closed = true;
                    break;
                } else {
                    token.text.push_back(line[i]);
                    ++i;
                }
            }
            if (!closed)
                return "a quoted text is not closed";
        } else {
            while (i < n) {
                const auto b = static_cast<unsigned char>(line[i]);
                if (double_byte_at(line, i)) {
                    token.text.append(line.substr(i, 2));
                    i += 2;
                    continue;
                }
                if (b == ' ' || b == '\t' || b == '#' || b == '"')
                    break;
                token.text.push_back(line[i]);
                ++i;
            }
        }
        tokens.push_back(std::move(token));
    }
    return {};
}

std::optional<DWORD> parse_number(std::string_view text, DWORD maximum) {
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    unsigned long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > maximum)
        return std::nullopt;
    return static_cast<DWORD>(value);
}

bool is_walk_state(RASCONNSTATE state) {
    for (RASCONNSTATE s : kDialWalk) {
        if (s == state)
            return true;
    }
    return false;
}

class Parser {
  public:
    explicit Parser(Scenario& scenario) : s_(scenario) {}

    // Returns a problem, or an empty string.
    std::string directive(const std::vector<Token>& t) {
        const std::string& keyword = t[0].text;
        const std::size_t args = t.size() - 1;
        if (keyword == "entry") {
            if (args != 1)
                return "entry takes one name";
            return add_entry(t[1].text);
        }
        if (keyword == "entries") {
            if (args != 2)
                return "entries takes a count and a name prefix";
            const auto count = parse_number(t[1].text, kMaxPhonebookEntries);
            if (!count)
                return "entries: the count must be a number up to 4096";
            for (DWORD k = 1; k <= *count; ++k) {
                std::string problem = add_entry(t[2].text + std::to_string(k));
                if (!problem.empty())
                    return problem;
            }
            return {};
        }
        if (keyword == "connection") {
            if (args < 1 || args > 2)
                return "connection takes a name and optionally a state";
            if (t[1].text.empty() || t[1].text.size() > kRasMaxEntryName)
                return "connection: the name must have 1 to 256 bytes";
            if (s_.connections.size() >= kMaxPresetConnections)
                return "too many connections (at most 16)";
            PresetConnection c;
            c.entry_name = t[1].text;
            if (args == 2) {
                const auto state = state_from_name(t[2].text);
                if (!state || !is_walk_state(*state))
                    return "connection: unknown state \"" + t[2].text + "\"";
                c.state = *state;
            }
            s_.connections.push_back(std::move(c));
            return {};
        }
        if (keyword == "credentials") {
            if (args != 2)
                return "credentials takes a user name and a password";
            if (t[1].text.size() > kRasMaxUserName || t[2].text.size() > kRasMaxPassword)
                return "credentials: a user name or password has more than 256 bytes";
            Credentials c;
            c.any_user_name = !t[1].quoted && t[1].text == "*";
            c.user_name = c.any_user_name ? std::string() : t[1].text;
            c.any_password = !t[2].quoted && t[2].text == "*";
            c.password = c.any_password ? std::string() : t[2].text;
            s_.credentials.push_back(std::move(c));
            return {};
        }
        if (keyword == "state-time") {
            if (args == 1) {
                if (seen_state_time_)
                    return "state-time given twice";
                seen_state_time_ = true;
                return time_value(t[1].text, s_.state_ms);
            }
            if (args == 2) {
                const auto state = state_from_name(t[1].text);
                if (!state || !is_walk_state(*state))
                    return "state-time: unknown state \"" + t[1].text + "\"";
                for (const StateTime& o : s_.state_ms_overrides) {
                    if (o.state == *state)
                        return "state-time " + t[1].text + " given twice";
                }
                DWORD ms = 0;
                std::string problem = time_value(t[2].text, ms);
                if (problem.empty())
                    s_.state_ms_overrides.push_back({*state, ms});
                return problem;
            }
            return "state-time takes milliseconds, or a state and milliseconds";
        }
        if (keyword == "hangup-time") {
            if (args != 1)
                return "hangup-time takes milliseconds";
            if (seen_hang_up_time_)
                return "hangup-time given twice";
            seen_hang_up_time_ = true;
            return time_value(t[1].text, s_.hang_up_ms);
        }
        if (keyword == "device") {
            if (args != 2)
                return "device takes a type and a name";
            if (seen_device_)
                return "device given twice";
            seen_device_ = true;
            if (t[1].text.size() > kRasMaxDeviceType || t[2].text.size() > kRasMaxDeviceName)
                return "device: the type has at most 16 bytes, the name at most 128";
            s_.device_type = t[1].text;
            s_.device_name = t[2].text;
            return {};
        }
        if (keyword == "early-first-state") {
            if (args != 0)
                return "early-first-state takes nothing";
            s_.early_first_state = true;
            return {};
        }
        if (keyword == "fail")
            return failure(t);
        return "unknown keyword \"" + keyword + "\"";
    }

  private:
    std::string add_entry(const std::string& name) {
        if (name.empty() || name.size() > kRasMaxEntryName)
            return "entry: the name must have 1 to 256 bytes";
        if (s_.entries.size() >= kMaxPhonebookEntries)
            return "too many phonebook entries (at most 4096)";
        for (const std::string& e : s_.entries) {
            if (same_entry_name(e, name))
                return "entry \"" + name + "\" is already in the phonebook";
        }
        s_.entries.push_back(name);
        return {};
    }

    static std::string time_value(const std::string& text, DWORD& out) {
        const auto ms = parse_number(text, kMaxTimeMs);
        if (!ms)
            return "a time must be milliseconds up to 600000";
        out = *ms;
        return {};
    }

    static std::string error_value(const std::string& text, DWORD& out) {
        const auto code = parse_number(text, 0xFFFFFFFF);
        if (!code || *code == 0)
            return "an error must be a non-zero number";
        out = *code;
        return {};
    }

    std::string failure(const std::vector<Token>& t) {
        if (t.size() < 2)
            return "fail takes what fails: enum-entries, enum-connections, dial, at, hangup";
        const std::string& what = t[1].text;
        const std::size_t args = t.size() - 2;
        auto once = [](bool& seen, const std::string& name) -> std::string {
            if (seen)
                return "fail " + name + " given twice";
            seen = true;
            return {};
        };
        std::string problem;
        if (what == "enum-entries" || what == "enum-connections") {
            if (args != 1)
                return "fail " + what + " takes an error";
            const bool entries = what == "enum-entries";
            if (!(problem = once(entries ? seen_fail_entries_ : seen_fail_connections_, what))
                     .empty())
                return problem;
            DWORD code = 0;
            if (!(problem = error_value(t[2].text, code)).empty())
                return problem;
            (entries ? s_.fail_enum_entries : s_.fail_enum_connections) = code;
            return {};
        }
        if (what == "dial") {
            if (args < 1 || args > 2 || (args == 2 && t[3].text != "with-handle"))
                return "fail dial takes an error and optionally with-handle";
            if (!(problem = once(seen_fail_dial_, what)).empty())
                return problem;
            DWORD code = 0;
            if (!(problem = error_value(t[2].text, code)).empty())
                return problem;
            s_.refuse_dial = code;
            s_.refuse_dial_with_handle = args == 2;
            return {};
        }
        if (what == "at") {
            if (args != 2)
                return "fail at takes a state and an error";
            if (!(problem = once(seen_fail_at_, what)).empty())
                return problem;
            const auto state = state_from_name(t[2].text);
            if (!state || !is_walk_state(*state) || *state == RASCS_Connected)
                return "fail at: \"" + t[2].text + "\" is not a state before Connected";
            DWORD code = 0;
            if (!(problem = error_value(t[3].text, code)).empty())
                return problem;
            s_.fail_at = StateFailure{*state, code};
            return {};
        }
        if (what == "hangup") {
            if (args != 0)
                return "fail hangup takes nothing";
            if (!(problem = once(seen_fail_hang_up_, what)).empty())
                return problem;
            s_.hang_up_never_completes = true;
            return {};
        }
        return "fail: unknown failure \"" + what + "\"";
    }

    Scenario& s_;
    bool seen_state_time_ = false;
    bool seen_hang_up_time_ = false;
    bool seen_device_ = false;
    bool seen_fail_entries_ = false;
    bool seen_fail_connections_ = false;
    bool seen_fail_dial_ = false;
    bool seen_fail_at_ = false;
    bool seen_fail_hang_up_ = false;
};

}  // namespace

const char* state_name(RASCONNSTATE state) {
    for (const NamedState& n : kStateNames) {
        if (n.state == state)
            return n.name;
    }
    return nullptr;
}

std::optional<RASCONNSTATE> state_from_name(std::string_view name) {
    for (const NamedState& n : kStateNames) {
        if (equal_ignoring_case(name, n.name))
            return n.state;
    }
    return std::nullopt;
}

DWORD Scenario::delay_before(RASCONNSTATE state) const {
    for (const StateTime& o : state_ms_overrides) {
        if (o.state == state)
            return o.ms;
    }
    return state_ms;
}

bool Scenario::accepts(std::string_view user_name, std::string_view password) const {
    if (credentials.empty())
        return true;
    for (const Credentials& c : credentials) {
        const bool user_ok = c.any_user_name ? !user_name.empty() : user_name == c.user_name;
        const bool password_ok = c.any_password ? !password.empty() : password == c.password;
        if (user_ok && password_ok)
            return true;
    }
    return false;
}

ParseResult parse_scenario(std::string_view text) {
    ParseResult result;
    Parser parser(result.scenario);
    unsigned line_number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++line_number;
        std::vector<Token> tokens;
        std::string problem = tokenize(line, tokens);
        if (problem.empty() && !tokens.empty())
            problem = parser.directive(tokens);
        if (!problem.empty()) {
            result.problem = "line " + std::to_string(line_number) + ": " + problem;
            result.scenario = Scenario{};
            return result;
        }
        start = end + 1;
    }
    return result;
}

std::vector<DialStep> plan_dial(const Scenario& scenario, std::string_view user_name,
                                std::string_view password) {
    std::vector<DialStep> steps;
    for (RASCONNSTATE state : kDialWalk) {
        DialStep step{state, scenario.delay_before(state), 0};
        if (scenario.fail_at && scenario.fail_at->state == state)
            step.error = scenario.fail_at->error;
        else if (state == RASCS_AuthNotify && !scenario.accepts(user_name, password))
            step.error = kRasErrorAuthenticationFailure;
        steps.push_back(step);
        if (step.error != 0)
            break;
    }
    return steps;
}

bool same_entry_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    std::size_t i = 0;
    while (i < a.size()) {
        if (double_byte_at(a, i)) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            i += 2;
        } else {
            if (ascii_lower(a[i]) != ascii_lower(b[i]))
                return false;
            ++i;
        }
    }
    return true;
}

}  // namespace tolvane::simline
