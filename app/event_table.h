// The one fixed table that binds the program's handlers to the events of the
// main window, its controls and the tray menu. An event without a handler
// changes nothing.
#pragma once

#include <windows.h>

#include <array>

#include "app/control_table.h"
#include "app/menu_definition.h"

namespace tolvane {

using PlainHandler = void (*)();
using CodeHandler = void (*)(int code);
using NotificationHandler = void (*)(int wparam, int lparam);

struct EventTable {
    PlainHandler window_created;
    PlainHandler window_moved;
    CodeHandler tray_notification;
    PlainHandler taskbar_created;
    struct Timer {
        UINT_PTR identifier;
        PlainHandler handler;
    };
    std::array<Timer, 1> timers;
    struct Click {
        Control control;
        PlainHandler handler;
    };
    std::array<Click, 4> clicks;
    struct LabelNotification {
        Control control;
        NotificationHandler handler;
    };
    LabelNotification label_notification;
    struct Selection {
        MenuItem item;
        PlainHandler handler;
    };
    std::array<Selection, 3> menu_selections;
};

extern const EventTable kEventTable;

// Raising an event runs its bound handler, if any, to its end.
void raise_window_created();
void raise_window_moved();
void raise_tray_notification(int code);
void raise_taskbar_created();
void raise_timer(UINT_PTR identifier);
void raise_control_clicked(Control control);
void raise_label_notification(Control control, int wparam, int lparam);
void raise_menu_selected(MenuItem item);

}  // namespace tolvane
