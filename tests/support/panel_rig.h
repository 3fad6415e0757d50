#pragma once
// The real panel window on fakes: the simulated box on virtual time behind a fake port, a fixed desktop, a settings
// file in a temporary folder, a recorder for message boxes. The poll timer never fires by itself: tests tick it.

#include "core/shared_state.h"
#include "fake_desktop.h"
#include "fake_device_list.h"
#include "fake_port.h"
#include "link/com_devices.h"
#include "widgets/message_line.h"
#include "panel/panel_elements.h"
#include "widgets/picture_button.h"
#include "panel/press_dispatch.h"
#include "panel/reply_dispatcher.h"
#include "platform/picture_store.h"
#include "test_files.h"
#include "window/frm_main.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <memory>

// What the panel asks after the box switched on or reset.
const QStringList kModeQueries = {"ASP999", "SCN999", "FMT999", "FRZ999", "NPO999", "PAT999", "ZOM999"};

inline QString source_bmp_dir()
{
    return QStringLiteral(QV742_SOURCE_DIR "/bmp");
}

class PanelRig {
public:
    // `settings`: the settings file's content; empty: no file.
    explicit PanelRig(const BoxConfig& box_config = {}, const QByteArray& settings = "1,1,1500,1500,#FALSE#\r\n")
        : box(box_config)
    {
        if (!settings.isEmpty())
            write_settings(settings);
        env.st = &st;
        env.port = &port;
        env.clock = &clock;
        env.desktop = &desktop;
        env.pictures = &pictures;
        env.com_devices = &com_devices;
        env.bmp_dir = source_bmp_dir();
        env.settings_path = settings_path();
        env.poll_interval_ms = 24 * 3600 * 1000;
        env.message_box = [this](const QString& text, const QString& detail) { messages << text, details << detail; };
        env.process_events = [this] {
            QCoreApplication::processEvents();
            if (on_events)
                on_events();
        };
        env.process_events_for = [this](int ms) { QCoreApplication::processEvents(), clock.advance(ms); };
        env.open_magnifier = [this] { ++magnifier_opens; };
    }

    FrmMain& frm()
    {
        if (!frm_)
            frm_ = std::make_unique<FrmMain>(env);
        return *frm_;
    }
    // Builds the window and runs start-up; its traffic is then in `sent()`.
    FrmMain& start()
    {
        frm().start_up();
        return *frm_;
    }
    // Closes the panel and starts a new one on the same files, as the next run would, with COM devices of its own;
    // `set_up` gives them what the command line would.
    FrmMain& restart(const std::function<void(ComDevices&)>& set_up = nullptr)
    {
        frm_->close();
        frm_.reset();
        st = SharedState{};
        next_run = std::make_unique<ComDevices>(devices, QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1"));
        if (set_up)
            set_up(*next_run);
        env.com_devices = next_run.get();
        return start();
    }
    Panel& p() { return frm().panel(); }
    DeviceLink& link() { return frm().link(); }
    PanelElements& el() { return frm().elements(); }
    PictureButton* ico(int i) { return el().img_ico[i]; }
    QString picture(int i) { return ico(i)->picture_name(); }
    QStringList pictures_of(std::initializer_list<int> buttons)
    {
        QStringList out;
        for (int i : buttons)
            out << picture(i);
        return out;
    }
    QString indicator() { return el().img_connect->picture_name(); }
    QString caption() { return el().lab_msg->caption(); }
    QString title() { return el().lab_panel->text(); }
    // The pictures of `buttons`, then the message line.
    QStringList shows(std::initializer_list<int> buttons) { return pictures_of(buttons) << caption(); }
    // The ten buttons the box's power governs all `on`, power and magnifier usable.
    bool modes_enabled(bool on)
    {
        for (int i : {buttons::sys_reset, buttons::zoom, buttons::scan, buttons::options, buttons::position, buttons::size, buttons::output, buttons::freeze, buttons::video, buttons::aspect})
            if (ico(i)->isEnabled() != on)
                return false;
        return ico(buttons::magnifier)->isEnabled() && ico(buttons::power)->isEnabled();
    }
    QStringList sent() const { return port.written; }
    QStringList sent_since(int from) const { return port.written.mid(from); }

    // A release of `button`, after a press when `held`; what it sent.
    QStringList click(int button, bool held = false)
    {
        const int from = port.written.size();
        if (held)
            button_pressed(p(), button);
        button_released(p(), button);
        return sent_since(from);
    }
    // The box sends `message` on its own; the poll timer picks it up. What the panel sent in return.
    QStringList box_says(const QByteArray& message)
    {
        const int from = port.written.size();
        port.arrive_in(0, message);
        tim_rx_tick(p());
        return sent_since(from);
    }

    QString settings_path() const { return dir.filePath("QVR_742.ini"); }
    void write_settings(const QByteArray& content) { write_file(settings_path(), content); }
    QByteArray read_settings() const { return read_file(settings_path()); }

    QTemporaryDir dir;
    VirtualClock clock;
    BoxModel box;
    FakePort port{clock, &box};
    FakeDeviceList devices;
    ComDevices com_devices{devices, QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS1")};
    FakeDesktop desktop;
    PictureStore pictures;
    SharedState st;
    PanelEnvironment env;
    QStringList messages;
    QStringList details;
    int magnifier_opens = 0;
    std::function<void()> on_events;  // runs inside each event pass
    std::unique_ptr<ComDevices> next_run;

private:
    std::unique_ptr<FrmMain> frm_;
};

// A rig whose panel has been through start-up.
struct StartedPanel : PanelRig {
    template <typename... Args>
    explicit StartedPanel(Args&&... args) : PanelRig(std::forward<Args>(args)...)
    {
        start();
    }
};
