// Reading and writing the settings file through the profile functions.
#pragma once

#include "app/text.h"

namespace tolvane {

// The file, section and keys of the program's four settings.
inline constexpr char kSettingsFile[] = "C:\\windows\\adsl.ini";
inline constexpr char kSettingsSection[] = "用户参数";
inline constexpr char kAccountKey[] = "用户名";
inline constexpr char kPasswordKey[] = "密码";
inline constexpr char kRememberKey[] = "保存";
inline constexpr char kAutoConnectKey[] = "开机";
inline constexpr char kSwitchOn[] = "1";
inline constexpr char kSwitchOff[] = "0";

// The size of the buffer a value is read into; longer values come back cut
// to one byte less.
inline constexpr unsigned kIniReadBufferSize = 10240;

// The value of the key, or `default_value` (null counts as empty) when the
// file, section or key is missing. Never fails.
Text read_ini_text(const char* file, const char* section, const char* key,
                   const char* default_value);
// Writes the value (null counts as empty, so the key always stays).
bool write_ini_text(const char* file, const char* section, const char* key, const char* value);

// A switch is on when its value is exactly the one byte "1".
bool is_switch_on(const char* value) noexcept;

}  // namespace tolvane
