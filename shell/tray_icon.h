// The program's icon in the notification area, its menu, and the hiding of
// the main window into it.
#pragma once

#include <windows.h>

#include <cstddef>

namespace tolvane {

// The main window's timer for adding the icon again after the shell refused.
inline constexpr UINT_PTR kTrayRetryTimer = 100;

// A block of bytes whose length travels with it.
struct ByteBlock {
    const unsigned char* data;
    std::size_t size;
};

// The icon group the tray icon is made from: the directory of the
// program's icon resource "DEFAULT_ICON", whose entries name the program's
// RT_ICON resources. The icon is stored once, for the window and the tray.
ByteBlock program_tray_icon_block();
// The bytes of one image of the program's icon, by its RT_ICON identifier;
// empty when the program has no such image.
ByteBlock program_icon_image(unsigned icon_id);

// Makes an icon from the group's image for the tray and puts it into the
// notification area with the tip (or changes or deletes the one already
// there). When the shell refuses it, the icon is tried again a few times over
// the next minute.
void set_tray_icon(ByteBlock icon_block, const char* tip);
// Deletes the icon, if the main window holds one; the last step of the main
// window's WM_DESTROY.
void remove_tray_icon();
// Whether the icon is in the notification area, so that the window can be
// reached through it.
bool is_tray_icon_shown();
// The shell's "TaskbarCreated": its notification area (re)started empty.
void handle_taskbar_created();
// The retry timer's event.
void handle_tray_retry_timer();

// The tray notification event: 1 left button up, 2 double click, 3 menu.
void handle_tray_notification(int code);
// Shows the tray menu at the mouse; a chosen item arrives as WM_COMMAND.
void popup_tray_menu();
void handle_show_item();
void handle_hide_item();
void handle_close_item();

}  // namespace tolvane
