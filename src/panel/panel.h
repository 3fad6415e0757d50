#pragma once
// What the panel's routines work on: the shared state, the device link, the
// window's elements, and the few things only the window itself can do.

class DeviceLink;
class Desktop;
class PictureStore;
struct PanelElements;
struct SharedState;

// Window operations the panel's routines ask for.
class PanelHost {
public:
    virtual ~PanelHost() = default;
    virtual void process_events() = 0;
    virtual void hide_window() = 0;
    virtual void show_window() = 0;
    virtual void minimize_window() = 0;
    virtual void close_window() = 0;
    virtual void set_on_top(bool on) = 0;
    virtual void enter_tray() = 0;
    virtual void open_magnifier() = 0;
    virtual void load_skin() = 0;
};

struct Panel {
    SharedState& st;
    DeviceLink& link;
    PanelElements& el;
    PanelHost& host;
    PictureStore& pictures;
    Desktop& desktop;
};
