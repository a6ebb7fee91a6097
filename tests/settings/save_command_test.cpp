// The save button: the settings file byte for byte, the edit boxes, and the
// shortcut in the Startup folder read back through the shell link object.
#include "settings/save_command.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "app/control_access.h"
#include "tests/dialup/fake_ras.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

std::string startup_folder() {
    char folder[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE);
    return std::string(folder) + "\\";
}

std::string shortcut_file() {
    return startup_folder() + "ADSL拨号.lnk";
}

bool file_exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string read_bytes(const std::string& path) {
    std::string bytes;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(f);
    return bytes;
}

struct LinkFields {
    bool loaded = false;
    std::string path, description, arguments, directory;
    int show = -1;
};

LinkFields read_link(const std::string& file) {
    LinkFields fields;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return fields;
    }
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        wchar_t wide[MAX_PATH * 2];
        MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH * 2);
        if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
            char text[1024];
            fields.loaded = true;
            text[0] = 0;
            link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
            fields.path = text;
            text[0] = 0;
            link->GetDescription(text, sizeof text);
            fields.description = text;
            text[0] = 0;
            link->GetArguments(text, sizeof text);
            fields.arguments = text;
            text[0] = 0;
            link->GetWorkingDirectory(text, sizeof text);
            fields.directory = text;
            link->GetShowCmd(&fields.show);
        }
        persist->Release();
    }
    link->Release();
    return fields;
}

// What the shell link object itself reads back for a link saved with the
// given show command (Wine reads every one back as 1; Windows keeps it).
int show_command_as_read_back(int show) {
    const std::string reference = startup_folder() + "reference.lnk";
    IShellLinkA* link = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                     reinterpret_cast<void**>(&link));
    IPersistFile* persist = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    link->SetPath("C:\\Program Files\\adsl\\ADSL.EXE");
    link->SetShowCmd(show);
    wchar_t wide[MAX_PATH * 2];
    MultiByteToWideChar(CP_ACP, 0, reference.c_str(), -1, wide, MAX_PATH * 2);
    persist->Save(wide, TRUE);
    persist->Release();
    link->Release();
    const int read = read_link(reference).show;
    DeleteFileA(reference.c_str());
    return read;
}

class SaveCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OleInitialize(nullptr);
        testing::reset_fake_ras();
        DeleteFileA(shortcut_file().c_str());
    }
    void TearDown() override {
        DeleteFileA(shortcut_file().c_str());
        testing::remove_settings_file();
        OleUninitialize();
    }

    // Builds the window on the file (or none), sets the boxes and presses 保存.
    void save_with(const std::string* file, bool remember, bool auto_connect, const char* account,
                   const char* password) {
        if (file) {
            testing::write_settings_file(*file);
        } else {
            testing::remove_settings_file();
        }
        testing::ScopedMainWindow main;
        ASSERT_TRUE(main.built());
        SetWindowTextA(main.control(Control::编辑框2), account);
        SetWindowTextA(main.control(Control::编辑框3), password);
        set_control_checked(Control::选择框1, remember);
        set_control_checked(Control::选择框2, auto_connect);
        set_control_disabled(Control::编辑框2, true);
        set_control_disabled(Control::编辑框3, true);
        set_control_text(Control::标签1, "status");
        SendMessageA(main.control(Control::按钮5), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(main.control(Control::编辑框2)));
        EXPECT_TRUE(IsWindowEnabled(main.control(Control::编辑框3)));
        EXPECT_STREQ(get_control_text(Control::标签1).c_str(), "status")
            << "the label is not touched";
    }
};

TEST_F(SaveCommandTest, EachCombinationOfTheBoxesWritesTheseBytes) {
    const std::string earlier = "[用户参数]\r\n用户名=old\r\n密码=oldpw\r\n保存=1\r\n开机=1\r\n";
    struct Case {
        const std::string* before;
        bool remember, auto_connect;
        std::string after;
    };
    const Case cases[] = {
        {nullptr, true, true, "[用户参数]\r\n用户名=新账号\r\n密码=pw\r\n保存=1\r\n开机=1\r\n"},
        {nullptr, true, false, "[用户参数]\r\n用户名=新账号\r\n密码=pw\r\n保存=1\r\n开机=0\r\n"},
        {nullptr, false, true, "[用户参数]\r\n保存=0\r\n开机=1\r\n"},
        {nullptr, false, false, "[用户参数]\r\n保存=0\r\n开机=0\r\n"},
        {&earlier, true, true, "[用户参数]\r\n用户名=新账号\r\n密码=pw\r\n保存=1\r\n开机=1\r\n"},
        {&earlier, false, true, "[用户参数]\r\n用户名=old\r\n密码=oldpw\r\n保存=0\r\n开机=1\r\n"},
        {&earlier, false, false, "[用户参数]\r\n用户名=old\r\n密码=oldpw\r\n保存=0\r\n开机=0\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before ? "earlier file, " : "no file, ") +
                     (c.remember ? "1" : "0") + (c.auto_connect ? "1" : "0"));
        save_with(c.before, c.remember, c.auto_connect, "新账号", "pw");
        EXPECT_EQ(testing::read_settings_file(), c.after);
        EXPECT_EQ(file_exists(shortcut_file()), c.auto_connect);
    }
}

TEST_F(SaveCommandTest, EmptyBoxesWriteEmptyValuesThatReadBackEmpty) {
    save_with(nullptr, true, false, "", "");
    EXPECT_EQ(testing::read_settings_file(),
              "[用户参数]\r\n用户名=\r\n密码=\r\n保存=1\r\n开机=0\r\n");
}

TEST_F(SaveCommandTest, TheShortcutPointsAtTheFixedTarget) {
    save_with(nullptr, false, true, "", "");
    const LinkFields link = read_link(shortcut_file());
    ASSERT_TRUE(link.loaded);
    EXPECT_EQ(link.path, "C:\\Program Files\\adsl\\ADSL.EXE");
    EXPECT_EQ(link.description, "Harlith 精品奉献");
    EXPECT_EQ(link.arguments, "");
    EXPECT_EQ(link.directory, "");
    EXPECT_EQ(link.show, show_command_as_read_back(SW_SHOW));
    // Wine reads every show command back as 1, so look at the stored field
    // itself: ShowCommand, a 32-bit value at 0x3C of the 0x4C-byte header.
    const std::string bytes = read_bytes(shortcut_file());
    ASSERT_GT(bytes.size(), 0x4Cu);
    EXPECT_EQ(bytes[0], 0x4C);
    DWORD show_field = 0;
    std::memcpy(&show_field, bytes.data() + 0x3C, sizeof show_field);
    EXPECT_EQ(show_field, 5u);
}

TEST_F(SaveCommandTest, SavingAgainRewritesTheOneShortcutAndUntickingDeletesIt) {
    save_with(nullptr, false, true, "", "");
    // Spoil it: the next save must write it anew.
    {
        HANDLE f = CreateFileA(shortcut_file().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                               nullptr);
        CloseHandle(f);
    }
    save_with(nullptr, false, true, "", "");
    EXPECT_TRUE(read_link(shortcut_file()).loaded);

    WIN32_FIND_DATAA found;
    int count = 0;
    HANDLE search = FindFirstFileA((startup_folder() + "ADSL*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            ++count;
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(count, 1);

    save_with(nullptr, false, false, "", "");
    EXPECT_FALSE(file_exists(shortcut_file()));
    save_with(nullptr, false, false, "", "");  // nothing to delete: nothing happens
    EXPECT_FALSE(file_exists(shortcut_file()));
}

TEST(StartupFolderPath, EndsInOneBackslash) {
    const Text path = startup_folder_path();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::string(path.c_str()), startup_folder());
    const Text link = join_texts({path.get(), kShortcutName});
    EXPECT_EQ(std::string(link.c_str()).find("\\\\"), std::string::npos);
}

TEST(WithTrailingBackslash, AddsOneOnlyWhereTheLastCharacterIsNone) {
    const std::string full(259, 'd');  // fills the 260-byte buffer with its zero
    struct Case {
        std::string path, expected;
    };
    const Case cases[] = {
        {"C:\\Startup", "C:\\Startup\\"},
        {"C:\\Startup\\", "C:\\Startup\\"},
        {"", ""},
        {"C:\\启动", "C:\\启动\\"},
        {"C:\\x\x95\x5C", "C:\\x\x95\x5C\\"},  // a trail byte 0x5C is no backslash
        {"C:\\" + full, "C:\\" + full + "\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(with_trailing_backslash(c.path.c_str()).c_str()), c.expected)
            << c.path;
    }
}

}  // namespace
}  // namespace tolvane
