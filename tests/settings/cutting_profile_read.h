// A stand-in for the program's profile read (settings/profile_string.cpp),
// linked into the settings tests: it reads the real file, and cuts a value
// that does not fit the caller's buffer the way a platform may.
#pragma once

namespace tolvane::testing {

enum class ProfileCut {
    platform,  // the real platform function, unchanged
    // Whole characters only, the byte before the terminator left as it was
    // found and still counted (seen under Wine).
    leaves_byte_before_terminator,
    // Exactly one byte less than the buffer, whatever character it splits.
    splits_characters,
};

void set_profile_cut(ProfileCut cut);

}  // namespace tolvane::testing
