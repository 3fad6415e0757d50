#pragma once
// What the panel's routines work on: the shared state, the device link, the
// window's elements, and the few things only the window itself can do.

#include "panel/panel_ids.h"

#include <QString>

class ComDevices;
class DeviceLink;
class Desktop;
class PictureStore;
struct PanelElements;
struct SharedState;

// What only the window can do for the panel's routines. None of these calls
// back into a routine of the panel.
class PanelHost {
public:
    virtual ~PanelHost() = default;
    virtual void hide_window() = 0;
    virtual void show_window() = 0;
    virtual void minimize_window() = 0;
    virtual void close_window() = 0;
    virtual void set_on_top(bool on) = 0;
    virtual void enter_tray() = 0;
    virtual void open_magnifier() = 0;
    // The background and colours of the skin in force; the buttons are the
    // routine's to redraw.
    virtual void load_skin_pictures() = 0;
    // The only dialog: a message with an OK button.
    virtual void show_message(const QString& text, const QString& detail) = 0;
};

// An arrow whose "001" is being sent, and its release if it came meanwhile.
struct ArrowHold {
    int in_press = buttons::none;
    int release_waiting = buttons::none;
};

struct Panel {
    SharedState& st;
    DeviceLink& link;
    PanelElements& el;
    PanelHost& host;
    PictureStore& pictures;
    Desktop& desktop;
    ComDevices* devices = nullptr;  // the devices behind COM1 and COM2, when known
    ArrowHold arrow{};
};
