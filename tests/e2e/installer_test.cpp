// The Windows installer, run silently in the test prefix, and its uninstaller.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "tests/support/process.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

using testing::ChildProcess;

const std::string kInstallDir = "C:\\Program Files\\adsl\\";
const std::string kProgram = kInstallDir + "ADSL.EXE";

std::string folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return std::string(path) + "\\";
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string uninstall_entry(const char* value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvane", 0,
                      KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        return "(no key)";
    }
    char data[512] = {};
    DWORD size = sizeof data - 1;
    const LONG r =
        RegQueryValueExA(key, value, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? std::string(data) : "(no value)";
}

std::optional<DWORD> run_and_wait(const std::string& program, const std::string& arguments) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = "\"" + program + "\" " + arguments;
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        return std::nullopt;
    }
    std::optional<DWORD> code;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
        DWORD c = 0;
        GetExitCodeProcess(pi.hProcess, &c);
        code = c;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

// Runs a program and waits for it and every process it starts to end: the
// uninstaller hands over to a copy of itself in the temporary folder and
// exits at once. The processes share a job; the exit code is the first one's.
std::optional<DWORD> run_to_the_end(const std::string& program, const std::string& arguments) {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr)
        return std::nullopt;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = "\"" + program + "\" " + arguments;
    std::optional<DWORD> code;
    if (CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                       nullptr, nullptr, &si, &pi)) {
        const bool in_job = AssignProcessToJobObject(job, pi.hProcess) != 0;
        ResumeThread(pi.hThread);
        const DWORD start = GetTickCount();
        if (in_job && WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
            while (QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info,
                                             sizeof info, nullptr) &&
                   info.ActiveProcesses > 0 && GetTickCount() - start < 60000) {
                Sleep(50);
            }
            if (info.ActiveProcesses == 0) {
                DWORD c = 0;
                GetExitCodeProcess(pi.hProcess, &c);
                code = c;
            }
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(job);
    return code;
}

const std::string kInstaller = testing::build_path("dist\\Tolvane-" TOLVANE_VERSION "-win32.exe");

// What a user leaves behind for the uninstaller: the auto-start shortcut,
// the settings and their virtualised copy, and a Start-menu shortcut of the
// installer's other language.
struct Leftovers {
    std::string startup_link = folder(CSIDL_STARTUP) + "ADSL拨号.lnk";
    std::string virtual_settings = folder(CSIDL_LOCAL_APPDATA) + "VirtualStore\\Windows\\adsl.ini";
    std::string other_language_entry = folder(CSIDL_COMMON_PROGRAMS) + "Tolvane\\Tolvane.lnk";

    void plant() const {
        std::ofstream(startup_link) << "link";
        testing::write_settings_file("[用户参数]\r\n用户名=kept\r\n");
        CreateDirectoryA((folder(CSIDL_LOCAL_APPDATA) + "VirtualStore").c_str(), nullptr);
        CreateDirectoryA((folder(CSIDL_LOCAL_APPDATA) + "VirtualStore\\Windows").c_str(), nullptr);
        std::ofstream(virtual_settings, std::ios::binary) << "[用户参数]\r\n密码=virtual\r\n";
        std::ofstream(other_language_entry) << "link";
    }
    void clear() const {
        DeleteFileA(startup_link.c_str());
        DeleteFileA(virtual_settings.c_str());
        DeleteFileA(other_language_entry.c_str());
        testing::remove_settings_file();
    }
};

// The names in a folder, for a failure's message.
std::string listing(const std::string& dir) {
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        names += std::string(found.cFileName) + " ";
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Everything of the program is gone once the uninstaller has ended.
void expect_uninstalled(const Leftovers& left) {
    EXPECT_FALSE(exists(kProgram));
    EXPECT_FALSE(exists(kInstallDir)) << listing(kInstallDir);
    EXPECT_FALSE(exists(left.startup_link));
    EXPECT_FALSE(exists(folder(CSIDL_COMMON_PROGRAMS) + "Tolvane"));
    EXPECT_EQ(uninstall_entry("DisplayName"), "(no key)");
}

TEST(Installer, InstallsRunsReinstallsOverARunningCopyAndUninstalls) {
    ASSERT_TRUE(exists(kInstaller)) << kInstaller;
    testing::remove_settings_file();

    // A silent install into the real Program Files.
    ASSERT_EQ(run_and_wait(kInstaller, "/S"), 0u);
    ASSERT_TRUE(exists(kProgram));
    EXPECT_EQ(contents(kProgram), contents(testing::build_path("ADSL.EXE")));
    EXPECT_TRUE(exists(folder(CSIDL_COMMON_PROGRAMS) + "Tolvane"));
    EXPECT_EQ(uninstall_entry("DisplayName"), "Tolvane");
    EXPECT_EQ(uninstall_entry("DisplayVersion"), TOLVANE_VERSION);
    EXPECT_NE(uninstall_entry("UninstallString").find("uninstall.exe"), std::string::npos);

    // It starts from there, in its own directory.
    {
        ChildProcess program = ChildProcess::start(kProgram, "C:\\");
        HWND window = program.wait_for_main_window();
        ASSERT_NE(window, nullptr);
        std::string dir = program.current_directory();
        EXPECT_EQ(lstrcmpiA(dir.c_str(), kInstallDir.c_str()), 0) << dir;

        // Installing over it while it runs: the installer closes it first.
        EXPECT_EQ(run_and_wait(kInstaller, "/S"), 0u);
        EXPECT_EQ(program.wait_for_exit(5000), 0u);
        EXPECT_TRUE(exists(kProgram));
    }

    // The uninstaller removes the program, its menu entry whatever its
    // language and the program's auto-start shortcut. A silent uninstall
    // answers no to deleting the settings: the file and the user's
    // virtualised copy stay.
    const Leftovers left;
    left.plant();
    ASSERT_EQ(run_to_the_end(kInstallDir + "uninstall.exe", "/S"), 0u);
    expect_uninstalled(left);
    EXPECT_EQ(testing::read_settings_file(), "[用户参数]\r\n用户名=kept\r\n");
    EXPECT_EQ(contents(left.virtual_settings), "[用户参数]\r\n密码=virtual\r\n");
    left.clear();
}

TEST(Installer, UninstallAnsweredYesDeletesTheSettingsAndTheUsersVirtualisedCopy) {
    ASSERT_TRUE(exists(kInstaller)) << kInstaller;
    ASSERT_EQ(run_and_wait(kInstaller, "/S"), 0u);
    const Leftovers left;
    left.plant();
    ASSERT_EQ(run_to_the_end(kInstallDir + "uninstall.exe", "/S /REMOVESETTINGS"), 0u);
    expect_uninstalled(left);
    EXPECT_FALSE(testing::settings_file_exists());
    EXPECT_FALSE(exists(left.virtual_settings));
    left.clear();
}

}  // namespace
}  // namespace tolvane
