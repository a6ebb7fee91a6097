#include "tools/simline/scenario_file.h"

#include <cstring>
#include <vector>

#include "app/win_handle.h"

namespace tolvane::simline {

namespace {

constexpr DWORD kMaxScenarioBytes = 1 << 20;
constexpr UINT kCodePage936 = 936;
// What the line does with a scenario file it cannot use: no phonebook, and
// every dial refused (the system could not open the phone book).
constexpr DWORD kErrorCannotOpenPhonebook = 621;

struct FileStamp {
    bool exists = false;
    ULONGLONG size = 0;
    FILETIME written = {};

    bool operator==(const FileStamp& o) const {
        return exists == o.exists && size == o.size &&
               written.dwLowDateTime == o.written.dwLowDateTime &&
               written.dwHighDateTime == o.written.dwHighDateTime;
    }
};

struct Cache {
    bool valid = false;
    std::wstring variable;
    std::wstring path;
    FileStamp stamp;
    LoadedScenario loaded;
};

Cache& cache() {
    static Cache c;
    return c;
}

class Fnv64 {
  public:
    void add(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ ^= p[i];
            hash_ *= 0x100000001B3ULL;
        }
    }
    ULONGLONG value() const { return hash_; }

  private:
    ULONGLONG hash_ = 0xCBF29CE484222325ULL;
};

std::wstring environment_value() {
    wchar_t small[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(kScenarioVariable, small, MAX_PATH);
    if (n == 0)
        return {};
    if (n < MAX_PATH)
        return std::wstring(small, n);
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(kScenarioVariable, value.data(), n);
    value.resize(n < value.size() ? n : 0);
    return value;
}

FileStamp stamp_of(const std::wstring& path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return stamp;
    }
    stamp.exists = true;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.written = data.ftLastWriteTime;
    return stamp;
}

bool read_file(const std::wstring& path, std::string& bytes) {
    UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return false;
    }
    bytes.clear();
    char chunk[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        if (bytes.size() + got > kMaxScenarioBytes)
            return false;
        bytes.append(chunk, got);
    }
}

void make_unusable(LoadedScenario& loaded, std::string problem) {
    loaded.scenario = Scenario{};
    loaded.scenario.fail_enum_entries = kErrorCannotOpenPhonebook;
    loaded.scenario.refuse_dial = kErrorCannotOpenPhonebook;
    loaded.problem = std::move(problem);
}

std::string narrow(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), s.data(), n,
                            nullptr, nullptr);
    return s;
}

void load(const std::wstring& path, const FileStamp& stamp, LoadedScenario& loaded) {
    loaded = LoadedScenario{};
    Fnv64 id;
    std::string bytes;
    bool from_file = false;
    if (!path.empty()) {
        loaded.path = path;
        if (stamp.exists && read_file(loaded.path, bytes)) {
            from_file = true;
            id.add("file", 4);
            id.add(loaded.path.data(), loaded.path.size() * sizeof(wchar_t));
            id.add(&stamp.size, sizeof stamp.size);
            id.add(&stamp.written, sizeof stamp.written);
        } else {
            loaded.problem =
                "cannot read " + narrow(loaded.path) + "; the built-in scenario applies";
            loaded.path.clear();
        }
    }
    if (!from_file) {
        const std::string_view builtin = builtin_scenario_text();
        bytes.assign(builtin.data(), builtin.size());
        id.add("builtin", 7);
    }
    id.add(bytes.data(), bytes.size());
    loaded.id = id.value();

    std::string text;
    std::string problem;
    if (!scenario_text_to_cp936(bytes, text, problem)) {
        make_unusable(loaded, problem);
        return;
    }
    ParseResult parsed = parse_scenario(text);
    if (!parsed.problem.empty()) {
        make_unusable(loaded, (from_file ? narrow(loaded.path) : std::string("built-in")) + ", " +
                                  parsed.problem);
        return;
    }
    loaded.scenario = std::move(parsed.scenario);
}

HMODULE this_module() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&this_module), &module);
    return module;
}

}  // namespace

std::wstring scenario_path_from(const std::wstring& value) {
    if (value.empty())
        return {};
    if (value[0] == L'/') {
        // Wine's own export (cdecl); absent on Windows, where such a path is
        // taken as rooted on the current drive.
        using ToDos = LPWSTR(__cdecl*)(LPCSTR);
        auto to_dos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
        if (to_dos) {
            // Unix file names are UTF-8 bytes.
            const int n =
                WideCharToMultiByte(CP_UTF8, 0, value.c_str(), -1, nullptr, 0, nullptr, nullptr);
            std::string unix_path(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
            if (n > 0)
                WideCharToMultiByte(CP_UTF8, 0, value.c_str(), -1, unix_path.data(), n, nullptr,
                                    nullptr);
            if (LPWSTR dos = to_dos(unix_path.c_str())) {
                std::wstring path = dos;
                HeapFree(GetProcessHeap(), 0, dos);
                return path;
            }
        }
    }
    const DWORD n = GetFullPathNameW(value.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return value;
    std::wstring full(n, L'\0');
    const DWORD written = GetFullPathNameW(value.c_str(), n, full.data(), nullptr);
    if (written == 0 || written >= n)
        return value;
    full.resize(written);
    return full;
}

bool scenario_text_to_cp936(std::string_view bytes, std::string& text, std::string& problem) {
    text.clear();
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (bytes.empty())
        return true;
    const int size = static_cast<int>(bytes.size());
    const int wide_length =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (wide_length == 0) {
        // Not UTF-8: a file saved in the ANSI code page.
        text.assign(bytes.data(), bytes.size());
        return true;
    }
    std::vector<wchar_t> wide(static_cast<std::size_t>(wide_length));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(),
                        wide_length);
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, wide.data(),
                                           wide_length, nullptr, 0, nullptr, &lossy);
    if (length == 0 || lossy) {
        problem = "the scenario holds a character that code page 936 cannot show";
        return false;
    }
    text.assign(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, wide.data(), wide_length, text.data(),
                        length, nullptr, nullptr);
    return true;
}

std::string_view builtin_scenario_text() {
    const HMODULE module = this_module();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), RT_RCDATA);
    if (!resource)
        return {};
    HGLOBAL block = LoadResource(module, resource);
    const void* data = block ? LockResource(block) : nullptr;
    if (!data)
        return {};
    return std::string_view(static_cast<const char*>(data), SizeofResource(module, resource));
}

const LoadedScenario& current_scenario(bool reload) {
    Cache& c = cache();
    std::wstring variable = environment_value();
    const bool same_variable = c.valid && variable == c.variable;
    std::wstring path = same_variable ? c.path : scenario_path_from(variable);
    const FileStamp stamp = stamp_of(path);
    if (reload || !same_variable || !(stamp == c.stamp)) {
        load(path, stamp, c.loaded);
        c.variable = std::move(variable);
        c.path = std::move(path);
        c.stamp = stamp;
        c.valid = true;
    }
    return c.loaded;
}

}  // namespace tolvane::simline
