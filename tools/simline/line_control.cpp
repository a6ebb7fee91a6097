#include "tools/simline/line_control.h"

#include <vector>

#include "app/win_handle.h"
#include "tools/simline/simline_api.h"

namespace tolvane::line_control {

namespace {

constexpr char kVariable[] = "TOLVANE_LINE_SCENARIO";
constexpr UINT kCodePage936 = 936;

HMODULE simulator() {
    static const HMODULE module = [] {
        HMODULE m = GetModuleHandleA("rasapi32.dll");
        return m ? m : LoadLibraryA("rasapi32.dll");
    }();
    return module;
}

template <typename F>
F simulator_export(const char* name) {
    const HMODULE module = simulator();
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

std::optional<SimLineInfo> info() {
    auto get = simulator_export<DWORD(WINAPI*)(SimLineInfo*)>("SimLineGetInfo");
    SimLineInfo i = {};
    i.dwSize = sizeof i;
    if (!get || get(&i) != 0)
        return std::nullopt;
    return i;
}

std::string utf8_from_cp936(const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int wide_length = MultiByteToWideChar(kCodePage936, 0, text.data(), size, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(wide_length));
    MultiByteToWideChar(kCodePage936, 0, text.data(), size, wide.data(), wide_length);
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), length, nullptr,
                        nullptr);
    return utf8;
}

bool write_file(const std::string& path, const std::string& bytes) {
    UniqueKernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return false;
    }
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

Phase phase_of(DWORD phase) {
    switch (phase) {
        case SimLinePhaseConnected:
            return Phase::Connected;
        case SimLinePhaseFailed:
            return Phase::Failed;
        case SimLinePhaseHangingUp:
            return Phase::HangingUp;
        default:
            return Phase::Dialing;
    }
}

HRASCONN as_handle(DWORD value) {
    return reinterpret_cast<HRASCONN>(static_cast<UINT_PTR>(value));
}

}  // namespace

bool line_available() {
    return simulator_export<void*>("SimLineReset") != nullptr;
}

bool use_scenario(const std::string& path, const std::string& text) {
    if (!write_file(path, utf8_from_cp936(text)))
        return false;
    if (!SetEnvironmentVariableA(kVariable, path.c_str()))
        return false;
    return reset_line() && scenario_problem().empty();
}

std::string temporary_scenario_path(const std::string& file_name) {
    char temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n >= sizeof temp)
        return file_name;
    return std::string(temp, n) + file_name;
}

bool use_default_scenario() {
    SetEnvironmentVariableA(kVariable, nullptr);
    return reset_line();
}

bool reset_line() {
    auto reset = simulator_export<DWORD(WINAPI*)()>("SimLineReset");
    return reset && reset() == 0;
}

std::vector<Connection> connections() {
    auto list = simulator_export<DWORD(WINAPI*)(SimLineConnection*, DWORD, DWORD*)>(
        "SimLineListConnections");
    std::vector<Connection> result;
    if (!list)
        return result;
    std::vector<SimLineConnection> records(64);
    DWORD count = 0;
    if (list(records.data(), static_cast<DWORD>(records.size()), &count) != 0)
        return result;
    for (DWORD i = 0; i < count && i < records.size(); ++i) {
        const SimLineConnection& r = records[i];
        Connection c;
        c.handle = as_handle(r.handle);
        c.entry_name = r.entry_name;
        c.phase = phase_of(r.phase);
        c.state = r.state;
        c.error = r.error;
        c.owner_process_id = r.owner_process_id;
        result.push_back(std::move(c));
    }
    return result;
}

std::optional<Connection> find_connection(HRASCONN handle) {
    for (Connection& c : connections()) {
        if (c.handle == handle)
            return std::move(c);
    }
    return std::nullopt;
}

std::vector<Dial> dial_log() {
    auto read = simulator_export<DWORD(WINAPI*)(SimLineDial*, DWORD, DWORD*)>("SimLineReadDialLog");
    std::vector<Dial> result;
    if (!read)
        return result;
    std::vector<SimLineDial> records(64);
    DWORD count = 0;
    if (read(records.data(), static_cast<DWORD>(records.size()), &count) != 0)
        return result;
    for (DWORD i = 0; i < count && i < records.size(); ++i) {
        const SimLineDial& r = records[i];
        Dial d;
        d.serial = r.serial;
        d.process_id = r.process_id;
        d.handle = as_handle(r.handle);
        d.result = r.result;
        d.synchronous = r.synchronous != 0;
        d.entry_name = r.entry_name;
        d.phone_number = r.phone_number;
        d.user_name = r.user_name;
        d.password = r.password;
        result.push_back(std::move(d));
    }
    return result;
}

DWORD dial_count() {
    const auto i = info();
    return i ? i->dial_count : 0;
}

std::string scenario_problem() {
    const auto i = info();
    return i ? std::string(i->problem) : std::string("the simulated line is not loaded");
}

std::string scenario_path() {
    const auto i = info();
    return i ? std::string(i->scenario_path) : std::string();
}

}  // namespace tolvane::line_control
