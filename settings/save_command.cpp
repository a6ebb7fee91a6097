#include "settings/save_command.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <new>

#include "app/control_access.h"
#include "app/fatal_error.h"
#include "app/program_directory.h"
#include "settings/ini_file.h"

namespace tolvane {
namespace {

constexpr int kShortcutShowCommand = SW_SHOW;  // 5

void write_setting(const char* key, const char* value) {
    write_ini_text(kSettingsFile, kSettingsSection, key, value);
}

// Releases a COM interface at the end of its scope.
template <typename T>
class ComRef {
  public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_)
            p_->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }

  private:
    T* p_ = nullptr;
};

// The last character of a code page 936 text is a backslash. Byte-wise, a
// folder ending in a double-byte character whose trail byte is 0x5C would
// count as ending in a backslash and lose its separator.
bool ends_with_backslash(const char* path) {
    const std::size_t separator = last_path_separator(path);
    return separator != kNoSeparator && path[separator + 1] == '\0';
}

// The link path in the Startup folder; missing when the folder cannot be
// had, so that no shortcut is written or deleted anywhere else.
Text shortcut_path() {
    Text folder = startup_folder_path();
    if (folder.empty())
        return Text();
    return join_texts({folder.get(), kShortcutName});
}

}  // namespace

Text with_trailing_backslash(const char* path) {
    if (path == nullptr || path[0] == '\0' || ends_with_backslash(path))
        return Text::copy_of(path);
    return join_texts({path, "\\"});
}

Text startup_folder_path() {
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE))
        return Text();
    folder[MAX_PATH - 1] = '\0';
    // A path that fills the buffer is held whole with its backslash.
    return with_trailing_backslash(folder);
}

bool create_shortcut(const char* link_file, const char* target, const char* description) {
    ComRef<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.out()))) {
        return false;
    }
    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.out())))
        return false;

    link->SetPath(target);
    link->SetShowCmd(kShortcutShowCommand);
    link->SetDescription(description);

    const char* name = link_file ? link_file : "";
    const std::size_t wide_capacity = std::strlen(name) + 1;
    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[wide_capacity]);
    if (!wide)
        fatal_out_of_memory(wide_capacity * sizeof(wchar_t));
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide.get(), static_cast<int>(wide_capacity)) <= 0)
        return false;
    return SUCCEEDED(file->Save(wide.get(), TRUE));
}

void handle_save_clicked() {
    set_control_disabled(Control::编辑框2, false);
    set_control_disabled(Control::编辑框3, false);

    if (is_control_checked(Control::选择框1)) {
        write_setting(kAccountKey, get_control_text(Control::编辑框2).get());
        Text password = get_control_text(Control::编辑框3);
        write_setting(kPasswordKey, password.get());
        wipe_text(password);
        write_setting(kRememberKey, kSwitchOn);
    } else {
        // The stored account and password stay as they are.
        write_setting(kRememberKey, kSwitchOff);
    }

    if (is_control_checked(Control::选择框2)) {
        write_setting(kAutoConnectKey, kSwitchOn);
        Text link = shortcut_path();
        if (!link.empty())
            create_shortcut(link.get(), kShortcutTarget, kShortcutDescription);
    } else {
        write_setting(kAutoConnectKey, kSwitchOff);
        Text link = shortcut_path();
        if (!link.empty())
            DeleteFileA(link.get());
    }
}

}  // namespace tolvane
