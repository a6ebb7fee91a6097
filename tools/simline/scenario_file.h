// Where the scenario of the line comes from: the file named by the variable
// TOLVANE_LINE_SCENARIO, or the built-in default when there is none.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "tools/simline/scenario.h"

namespace tolvane::simline {

inline constexpr wchar_t kScenarioVariable[] = L"TOLVANE_LINE_SCENARIO";

struct LoadedScenario {
    Scenario scenario;
    // Changes whenever the scenario does: another file, or the file written
    // again. The line's state belongs to one identity.
    ULONGLONG id = 0;
    // The file read; empty for the built-in scenario.
    std::wstring path;
    // Why the scenario file is not used as it stands; empty when it is.
    std::string problem;
};

// The scenario in force for this process now. The file is read again only
// when the variable, the file's size or its time of last writing has changed,
// or when `reload` asks for it. Not thread-safe: callers hold the line lock.
const LoadedScenario& current_scenario(bool reload);

// The variable's value as a DOS path: a Unix absolute path is mapped through
// Wine's wine_get_dos_file_name when it exists (under Wine); a relative path
// is taken from the current directory.
std::wstring scenario_path_from(const std::wstring& value);

// The file's bytes as code page 936: UTF-8 (with or without a byte-order
// mark) is converted; bytes that are not UTF-8 are taken as code page 936
// already. Returns false, with a problem, for a character that code page 936
// cannot hold.
bool scenario_text_to_cp936(std::string_view bytes, std::string& text, std::string& problem);

// The built-in default scenario, as stored in the DLL.
std::string_view builtin_scenario_text();

}  // namespace tolvane::simline
