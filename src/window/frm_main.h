#pragma once
// frm_main: the panel window. Creates the elements and wires their events to
// the panel's routines, keeps the event pump the link waits on, does for the
// routines what only a window can (PanelHost), and runs start-up and
// shut-down.

#include "link/device_link.h"
#include "panel/link_view.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "widgets/twips.h"
#include "window/link_messages.h"
#include "window/panel_placement.h"
#include "window/receive_monitor.h"
#include "window/window_drag.h"
#include "window/window_pump.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class Clock;
class ComDeviceMenu;
class ComDevices;
class Desktop;
class FrmMag;
class FrmRx;
class PanelTray;
class PictureStore;
class SerialPort;
class QMessageBox;
class QSystemTrayIcon;
class QTimer;
struct SharedState;

// Everything the window needs from outside; tests pass fakes.
struct PanelEnvironment {
    SharedState* st = nullptr;
    SerialPort* port = nullptr;
    Clock* clock = nullptr;
    Desktop* desktop = nullptr;
    PictureStore* pictures = nullptr;
    QString bmp_dir;         // holds blue_panel.bmp, 1_panel.bmp, 2_panel.bmp
    QString settings_path;   // QVR_742.ini
    QString settings_read_path;  // read at start-up instead, when not empty
    // The devices behind COM1 and COM2 and the device menus. Empty: the
    // port's own devices, no menus, no reconnecting.
    ComDevices* com_devices = nullptr;
    // From the port's readable notice to the poll tick; tests make it long
    // and tick by hand.
    int poll_interval_ms = 0;
    // The only dialog: a message with an OK button. Empty: a QMessageBox.
    std::function<void(const QString& text, const QString& detail)> message_box;
    // Window events once / for up to `ms`. Empty: the real event loop.
    std::function<void()> process_events;
    std::function<void(int ms)> process_events_for;
    // Opens the magnifier (the panel is hidden already). Empty: FrmMag.
    std::function<void()> open_magnifier;
};

class FrmMain : public QWidget, public PanelHost {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Scan Converter";

    explicit FrmMain(const PanelEnvironment& env);
    ~FrmMain() override;

    // Start-up after the single-instance test: state, monitor, settings,
    // port, outline, skin, layout, the first exchange with the box.
    void start_up();
    // Shut-down has run (also when it came in the middle of start-up).
    bool has_finished() const { return shut_down_; }
    // A request to end from outside (logout, Ctrl+C): nobody may be there to
    // answer a box, so open boxes close and later messages go to stderr.
    void end_on_request();

    DeviceLink& link() { return link_; }
    Panel& panel() { return panel_; }
    PanelElements& elements() { return el_; }
    QTimer& tim_rx() { return pump_.tim_rx(); }
    FrmRx* monitor() const;
    QSystemTrayIcon* tray_icon() const;
    FrmMag* magnifier() const;
    ComDeviceMenu* device_menu() const { return device_menu_; }
    const Twips& twips() const { return twips_; }
    bool dragging() const { return drag_.dragging(); }

    // Shows the receive monitor, also after the user closed it.
    void show_monitor() { monitor_.show_in_front(); }

    // What the panel's routines ask of the window (PanelHost).
    void hide_window() override;
    void show_window() override;
    void minimize_window() override;
    void close_window() override;
    void set_on_top(bool on) override;
    void enter_tray() override;
    void open_magnifier() override;
    void load_skin_pictures() override;
    void show_message(const QString& text, const QString& detail) override;

signals:
    // Shut-down is complete: the program may end.
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void create_elements();
    QString read_settings();
    void load_outline();
    bool load_background(const QString& file);
    void scale_layout();
    void shut_down();
    void save_settings();

    void background_press();
    void background_move();

    PanelEnvironment env_;
    SharedState& st_;
    Twips twips_;
    PanelPlacement placement_;
    WindowPump pump_;
    DeviceLink link_;
    PanelElements el_;
    Panel panel_;
    LinkMessages messages_;
    PanelLinkView link_view_;
    ReceiveMonitor monitor_;
    WindowDrag drag_;
    QPointer<FrmMag> magnifier_;
    PanelTray* tray_ = nullptr;
    ComDeviceMenu* device_menu_ = nullptr;
    QPointer<QMessageBox> open_box_;  // a message box waiting for OK
    bool started_ = false;
    bool placed_ = false;             // the window has its real position
    bool shut_down_ = false;
    bool unattended_ = false;         // asked to end: no box waits for an answer
};
