// Which device a COM number uses, from the command line or the panel's choice; the link coming back after a loss, and
// the poll tick woken by the port's readable notice, on virtual time; and the Qt platform asked for.

#include "app/command_line.h"
#include "app/platform_choice.h"
#include "fake_device_list.h"
#include "link/com_devices.h"
#include "link_rig.h"
#include "test_registry.h"

#include <QCoreApplication>

namespace {

using Source = DeviceResolution::Source;

const SerialDeviceInfo kPlain{"/dev/ttyACM0", "", "USB ACM device", "", true};

// A link whose COM1 is the adapter chosen by its stable name. The devices
// come first: the link uses them until it is gone.
struct Devices {
    FakeDeviceList devices;
    ComDevices com{devices, "/dev/ttyS0", "/dev/ttyS1"};
};
struct Rig : Devices, LinkRig {
    Rig() : LinkRig(false, false)
    {
        devices.listed = {kFtdi};
        com.set_chosen(1, kFtdi.stable_name);
        link.use_devices(com);
        link.set_comm();
    }
};

void settle() { QCoreApplication::processEvents(); }

}  // namespace

class TestDeviceChoice : public QObject {
    Q_OBJECT
private slots:
    void each_com_number_finds_its_device()
    {
        const QString ftdi = kFtdi.stable_name;
        const QString gone = "/dev/serial/by-id/gone";
        // The wishes (command line, chosen, taken by COM2) and the devices present; the device, why, and what is said.
        const std::tuple<QString, QString, QString, QList<SerialDeviceInfo>, QString, Source, bool, QString> cases[] = {
            {"/tmp/pty", ftdi, "", {kFtdi}, "/tmp/pty", Source::CommandLine, false, ""},
            {"", ftdi, "", {kFtdi, kPlain}, ftdi, Source::Chosen, false, ""},
            {"", "/tmp/pty", "", {}, "/tmp/pty", Source::Chosen, false, ""},
            {"", "", "", {kBuiltIn, kFtdi}, "/dev/ttyS0", Source::Default, false, ""},
            {"", "", "", {kFtdi}, ftdi, Source::OnlyAdapter, false, "only USB serial device"},
            {"", "", "", {kPlain}, "/dev/ttyACM0", Source::OnlyAdapter, false, "/dev/ttyS0 has no serial port"},
            {"", "", "", {kFtdi, kPlain}, "/dev/ttyS0", Source::Default, true, "2 USB serial devices"},
            {"", "", ftdi, {kFtdi}, "/dev/ttyS0", Source::Default, false, ""},
            {"", gone, "", {kBuiltIn}, "/dev/ttyS0", Source::Default, true, gone + ", is not there"},
            {"", gone, "", {kFtdi}, ftdi, Source::OnlyAdapter, true, "is not there"},
        };
        for (const auto& [override_path, chosen, taken, present, path, source, warning, note] : cases) {
            const auto exists = [&d = present](const QString& p) { return p == "/tmp/pty" || find_device(d, p) >= 0; };
            const DeviceWishes wishes{1, override_path, chosen, "/dev/ttyS0", taken};
            const DeviceResolution r = resolve_device(wishes, present, exists);
            QVERIFY(r.path == path && r.source == source && r.warning == warning);
            QVERIFY2(note.isEmpty() ? r.note.isEmpty() : r.note.contains(note), qPrintable(r.note));
        }

        // From the command line; not given: the device chosen in the panel, or the default, is used.
        PanelOptions o = parse_panel_options({"qv742-panel"});
        QVERIFY(o.error.isEmpty() && o.com1.isEmpty() && o.com2.isEmpty());
        o = parse_panel_options({"qv742-panel", "--com1", "/tmp/x/com1", "--com2=/dev/ttyUSB0"});
        QCOMPARE(o.error + "|" + o.com1 + " " + o.com2, QString("|/tmp/x/com1 /dev/ttyUSB0"));

        for (const QStringList& wrong : {QStringList{"--com3", "x"}, {"--com1"}, {"stray"}, {"--com1="}})
            QVERIFY(!parse_panel_options(QStringList{"qv742-panel"} + wrong).error.isEmpty());
        o = parse_panel_options({"qv742-panel", "--help"});
        QVERIFY(o.show_help && o.help_text.contains("--com2"));
    }

    void a_lost_device_is_reopened_when_it_returns()
    {
        Rig rig;
        rig.port.unplug();
        rig.devices.unplug(kFtdi.path);
        QCOMPARE(rig.devices.watched, kFtdi.stable_name);
        const int opens = rig.port.opens;

        // Back while a routine passes window events: it waits for the end.
        rig.obs.on_events = [&] {
            rig.obs.on_events = nullptr;
            rig.devices.plug(kFtdi);
            settle();
            QVERIFY(!rig.state.port_open);
        };
        rig.link.rx_rdy();
        settle();
        QVERIFY(rig.state.port_open && rig.link.polling() && rig.devices.watched.isEmpty());
        QCOMPARE((QList<int>{rig.port.opens, rig.obs.syncs}), (QList<int>{opens + 1, 1}));

        // Back, but not to be opened yet (permissions on their way): quiet, and the watch goes on.
        rig.port.unplug();
        rig.port.present.erase(1);
        rig.devices.plug(kFtdi);
        settle();
        QVERIFY(!rig.state.port_open && rig.obs.failures.isEmpty());
        QCOMPARE(rig.devices.watched, kFtdi.stable_name);
    }

    void an_open_after_a_loss_a_failure_or_on_another_device_synchronises()
    {
        Rig rig;
        rig.link.set_comm();  // the same device again: nothing to catch up on
        rig.port.absent.insert(kFtdi.stable_name);
        rig.link.set_comm();
        QVERIFY(!rig.state.port_open && rig.devices.watched.isEmpty());  // it is there: a click will do
        rig.port.absent.clear();
        rig.link.set_comm();
        QCOMPARE(rig.obs.syncs, 0);  // not in the middle of the click
        settle();
        QCOMPARE(rig.obs.syncs, 1);
        rig.state.com_port = 2;  // /dev/ttyS1: another device
        rig.link.set_comm();
        settle();
        QCOMPARE(rig.obs.syncs, 2);

        // A chosen device missing at the open is awaited.
        rig.com.set_chosen(2, "/dev/serial/by-id/usb-later");
        rig.port.absent.insert("/dev/ttyS1");
        rig.link.set_comm();
        QCOMPARE(rig.devices.watched, QString("/dev/serial/by-id/usb-later"));
        rig.link.close_port();
        QVERIFY(rig.devices.watched.isEmpty());
    }

    void a_tick_runs_when_bytes_arrive()
    {
        Rig rig;
        const int due = rig.obs.ticks_due;
        rig.clock.advance(60000);  // an idle minute: nothing wakes
        rig.link.tx_cmd("ASP999");  // nor does the reply to a command
        QCOMPARE(rig.obs.ticks_due, due);

        // A message arriving while another is handled wakes nothing then; its tick comes as soon as polling is back.
        rig.port.arrive_in(5, "ASP001");
        rig.port.pass_time(5);
        QCOMPARE(rig.obs.ticks_due, due + 1);
        QVERIFY(rig.link.poll_tick([&](const QString&, int) {
            rig.port.arrive_in(3, "ZOM001");
            rig.port.pass_time(3);
            QCOMPARE(rig.obs.ticks_due, due + 1);
        }));
        QCOMPARE(rig.obs.ticks_due, due + 2);

        // Not polling (a command sent from the handling): no tick at all.
        rig.link.handle_as_own("VER105", QString(), [&](const QString&, int) {
            rig.link.tx_cmd("VER999");
            QVERIFY(!rig.link.polling() && !rig.link.poll_tick(nullptr));
        });
        QCOMPARE(rig.obs.ticks_due, due + 2);
    }

    void xwayland_first_on_a_wayland_desktop_unless_the_user_chose()
    {
        // QT_QPA_PLATFORM, WAYLAND_DISPLAY, DISPLAY, the arguments; the platform asked for.
        const std::tuple<const char*, const char*, const char*, QStringList, const char*> cases[] = {
            {"", "wayland-0", ":0", {}, "xcb;wayland"},
            {"", "wayland-0", "", {}, ""},  // no XWayland: Qt's choice
            {"", "", ":0", {}, ""},         // X11: as always
            {"wayland", "wayland-0", ":0", {}, ""},  // the user's variable
            {"", "wayland-0", ":0", {"-platform", "wayland"}, ""},
            {"", "wayland-0", ":0", {"--com1", "x", "--platform=xcb"}, ""},
        };
        for (const auto& [qpa, wayland, display, args, chosen] : cases)
            QCOMPARE(preferred_platform(qpa, wayland, display, args), QByteArray(chosen));
    }
};

QV_REGISTER_TEST(TestDeviceChoice)
#include "tst_device_choice.moc"
