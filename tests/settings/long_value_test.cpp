// Stored values longer than the read buffer, as a broken or hand-edited
// settings file can hold them: what is read, shown and saved again holds only
// bytes of the file and ends on a whole character.
#include <gtest/gtest.h>

#include <string>

#include "app/control_access.h"
#include "app/cp936.h"
#include "settings/ini_file.h"
#include "settings/save_command.h"
#include "tests/settings/cutting_profile_read.h"
#include "tests/support/gui.h"
#include "tests/support/settings_files.h"

namespace tolvane {
namespace {

using testing::ProfileCut;

// Fills the stack below the caller with a byte that no fixture holds, so
// that a read buffer the platform leaves partly unwritten shows it.
[[gnu::noinline]] void dirty_stack() {
    volatile char junk[96 * 1024];
    for (char& c : const_cast<char(&)[sizeof junk]>(junk))
        c = 'n';
}

std::string repeat(const std::string& piece, std::size_t times) {
    std::string s;
    for (std::size_t i = 0; i < times; ++i)
        s += piece;
    return s;
}

struct Fixture {
    const char* name;
    std::string stored;
    std::string read;  // what a cut that keeps whole characters gives
};

constexpr std::size_t kFixtures = 6;

const Fixture& fixture(std::size_t i) {
    // "汉" is BA BA: its trail byte is also a lead byte, so only a walk from
    // the start tells where a character ends.
    static const Fixture fixtures[kFixtures] = {
        {"exactly 10239 bytes", std::string(10237, 'p') + "汉", std::string(10237, 'p') + "汉"},
        {"10240 bytes cut inside a character", std::string(10238, 'a') + "汉",
         std::string(10238, 'a')},
        {"cut inside a character", std::string(10238, 'a') + "汉字", std::string(10238, 'a')},
        {"cut between characters", std::string(10239, 'a') + "汉字", std::string(10239, 'a')},
        {"double-byte only, cut inside one", repeat("汉", 10000), repeat("汉", 5119)},
        {"double-byte after one byte, cut between", repeat("a", 1) + repeat("汉", 6000),
         repeat("a", 1) + repeat("汉", 5119)},
    };
    return fixtures[i];
}

constexpr ProfileCut kCuts[] = {ProfileCut::platform, ProfileCut::leaves_byte_before_terminator,
                                ProfileCut::splits_characters};

const char* cut_name(ProfileCut cut) {
    switch (cut) {
        case ProfileCut::platform:
            return "the platform";
        case ProfileCut::leaves_byte_before_terminator:
            return "a byte before the terminator left unwritten";
        case ProfileCut::splits_characters:
            return "characters split";
    }
    return "";
}

bool ends_on_whole_character(const std::string& s) {
    return cp936_whole_length(s.data(), s.size()) == s.size();
}

// The value of 密码 in the file as it is now.
std::string stored_password() {
    const std::string file = testing::read_settings_file();
    const std::string key = "\r\n密码=";
    const std::size_t at = file.find(key);
    if (at == std::string::npos)
        return "<no key>";
    const std::size_t begin = at + key.size();
    return file.substr(begin, file.find("\r\n", begin) - begin);
}

class LongValueTest : public ::testing::Test {
  protected:
    void TearDown() override {
        testing::set_profile_cut(ProfileCut::platform);
        testing::remove_settings_file();
    }

    static void write_fixture(const Fixture& f) {
        testing::write_settings_file("[用户参数]\r\n用户名=u\r\n密码=" + f.stored +
                                     "\r\n保存=1\r\n开机=0\r\n");
    }

    // What a read must give: exactly the fixture's whole characters, except
    // from the real platform, whose own cut may keep one character less.
    static void expect_read(const std::string& got, const Fixture& f, ProfileCut cut) {
        EXPECT_EQ(f.stored.compare(0, got.size(), got), 0) << "only bytes of the file, in order";
        EXPECT_TRUE(ends_on_whole_character(got));
        if (cut == ProfileCut::platform) {
            EXPECT_LE(got.size(), f.read.size());
            EXPECT_GE(got.size() + 2, f.read.size());
        } else {
            EXPECT_EQ(got.size(), f.read.size());
        }
    }
};

TEST_F(LongValueTest, ReadHoldsOnlyBytesOfTheFileAndEndsOnAWholeCharacter) {
    for (ProfileCut cut : kCuts) {
        testing::set_profile_cut(cut);
        for (std::size_t i = 0; i < kFixtures; ++i) {
            const Fixture& f = fixture(i);
            SCOPED_TRACE(std::string(f.name) + ", " + cut_name(cut));
            write_fixture(f);
            dirty_stack();
            Text value = read_ini_text(kSettingsFile, kSettingsSection, kPasswordKey, nullptr);
            expect_read(value.c_str(), f, cut);
        }
    }
}

TEST_F(LongValueTest, StartUpShowsAndSaveWritesBackOnlyBytesOfTheFile) {
    for (ProfileCut cut : kCuts) {
        testing::set_profile_cut(cut);
        for (std::size_t i = 0; i < kFixtures; ++i) {
            const Fixture& f = fixture(i);
            SCOPED_TRACE(std::string(f.name) + ", " + cut_name(cut));
            write_fixture(f);
            dirty_stack();
            testing::ScopedMainWindow main;
            ASSERT_TRUE(main.built());
            const std::string shown = get_control_text(Control::编辑框3).c_str();
            expect_read(shown, f, cut);

            // 选择框1 came up ticked, so the password goes back to the file.
            handle_save_clicked();
            EXPECT_EQ(stored_password(), shown);
        }
    }
}

}  // namespace
}  // namespace tolvane
