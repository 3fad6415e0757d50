// The serial device vanishes under the real panel, in real time on the real port (a killed simulator is what a
// pulled adapter looks like from the pty), and comes back; on virtual time, where its instant is exact: in a routine.

#include "app/system_parts.h"
#include "link/system_device_list.h"
#include "panel/option_lines.h"
#include "panel_rig.h"
#include "sim_process.h"
#include "test_registry.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <chrono>
#include <csignal>
#include <ctime>
#include <thread>

namespace {

double cpu_seconds() { return double(std::clock()) / CLOCKS_PER_SEC; }  // of every thread of this process

// The real panel window on the real serial port, with message boxes counted.
// COM1 is `link` from the command line or, with a by-id folder, the device
// chosen in an earlier run, found by the real device list.
struct LivePanel {
    explicit LivePanel(const QString& link, const QString& by_id_dir = QString())
        : devices(by_id_dir), com_devices(devices, "/dev/ttyS0", dir.filePath("no-such-com2"))
    {
        write_file(dir.filePath("QVR_742.ini"), "1,1,0,0,#FALSE#\r\n");
        if (by_id_dir.isEmpty())
            com_devices.set_override(1, link);
        else
            write_file(dir.filePath("QVR_742_devices.ini"), "COM1=" + link.toUtf8() + "\n");
        PanelEnvironment env = parts.environment(QStringLiteral(QV742_SOURCE_DIR "/bmp"), dir.filePath("QVR_742.ini"));
        env.com_devices = &com_devices;
        env.message_box = [this](const QString& text, const QString&) { dialogs << text; };
        frm = std::make_unique<FrmMain>(env);
    }
    ~LivePanel() { frm->close(); }

    QTemporaryDir dir;
    SystemParts parts;
    SystemDeviceList devices;
    ComDevices com_devices;
    SharedState& st = parts.state;
    QStringList dialogs;
    std::unique_ptr<FrmMain> frm;
};

}  // namespace

class TestUnplug : public QObject {
    Q_OBJECT

private slots:
    void vanishes_and_comes_back_data()
    {
        QTest::addColumn<bool>("in_ready_wait");
        // Chosen by its stable name, which goes and comes back with it: the panel reopens it by itself within 1 s.
        QTest::newRow("while idle") << false;
        // Named on the command line: the wait ends with the device; the box comes back off, and COM1 is pressed.
        QTest::newRow("during the ready wait") << true;
    }
    void vanishes_and_comes_back()
    {
        QFETCH(bool, in_ready_wait);
        QTemporaryDir dir;
        const QString by_id = dir.filePath("serial/by-id");
        const QString com1 = in_ready_wait ? dir.filePath("com1") : by_id + "/usb-QV742_Simulated_Box_0001-if00-port0";
        QDir().mkpath(by_id);
        SimProcess box(in_ready_wait ? QStringList{"--off", "--no-ready"} : QStringList(), com1);
        QVERIFY(box.ready());
        LivePanel panel(com1, in_ready_wait ? QString() : by_id);
        panel.frm->start_up();
        QVERIFY(panel.st.port_open && panel.st.power_state == (in_ready_wait ? 0 : 1));

        if (!in_ready_wait) {
            // The real window's pauses wait on its event loop; they do not spin.
            QElapsedTimer waited;
            waited.start();
            const double cpu_before = cpu_seconds();
            panel.frm->link().wait_secs(0.3);
            QVERIFY(waited.elapsed() >= 300 && cpu_seconds() - cpu_before < 0.05);
            box.stop(true);
            QDir(dir.filePath("serial")).removeRecursively();
        } else {
            QElapsedTimer t;
            t.start();
            // Killed from another thread while the panel's thread is blocked in the wait.
            std::thread unplug([pid = box.pid()] {
                std::this_thread::sleep_for(std::chrono::milliseconds(1500));
                ::kill(static_cast<pid_t>(pid), SIGKILL);
            });
            button_released(panel.frm->panel(), buttons::power);
            unplug.join();
            box.stop(true);
            QVERIFY2(t.elapsed() < 4500, qPrintable(QString::number(t.elapsed())));
            // No ready message, though the box did say PWR001.
            QVERIFY(panel.frm->elements().img_connect->picture_name() == "1_connect_off_0" && panel.st.power_state);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!panel.st.port_open, 10000);

        // Two seconds of the event loop: a port reporting its error over and over would burn them or repeat the loss.
        const int checks = panel.devices.checks();
        const double cpu_before = cpu_seconds();
        QTest::qWait(2000);
        const double cpu = cpu_seconds() - cpu_before;
        QVERIFY2(cpu < 0.2, qPrintable(QStringLiteral("%1 s of CPU in 2 s after the loss").arg(cpu)));
        QVERIFY(panel.devices.checks() - checks <= 3);  // at most one check of the devices a second
        QVERIFY(!panel.st.port_open && !panel.frm->link().polling() && panel.frm->link().losses() == 1);
        const MessageLine* line = panel.frm->elements().lab_msg;
        QVERIFY2(line->caption() == "COM1 lost !" && line->toolTip().contains("stopped working"),
                 qPrintable(line->caption() + ": " + line->toolTip()));

        // Back, and synchronised as at start-up: the state is the new box's.
        QVERIFY(box.start());
        if (in_ready_wait)
            button_released(panel.frm->panel(), buttons::com1);
        QTRY_VERIFY_WITH_TIMEOUT(panel.st.port_open, 1000);
        const int power = in_ready_wait ? 0 : 1;
        QTRY_COMPARE_WITH_TIMEOUT(box.received().size(), power == 1 ? 9 : 2, 10000);
        QVERIFY(panel.frm->link().polling() && panel.st.power_state == power);
        QCOMPARE(QStringList({panel.frm->elements().img_connect->picture_name(), line->toolTip()}) + panel.dialogs,
                 QStringList({"1_connect_on_0", ""}));
    }

    // Whatever routine the device vanished under (a power press, the box's own PWR001, the test pattern switching
    // off), its own caption must not hide the loss, and no dialog comes.
    void during_a_routine_with_a_ready_wait()
    {
        for (int routine : {0, 1, 2}) {
            BoxConfig config;
            config.power_on = routine != 0;
            config.send_ready = false;
            StartedPanel r(config);
            if (routine == 2) {
                r.click(buttons::options);
                option_clicked(r.p(), 4);  // test pattern on
            }
            r.port.unplug_at = r.clock.now + 1000;  // inside the 5 s ready wait
            if (routine == 0)
                r.click(buttons::power);
            else if (routine == 1)
                r.box_says("PWR001");
            else
                option_clicked(r.p(), 5);  // and off: PAT000 and its ready wait
            QCOMPARE(r.shows({buttons::com1}) << r.indicator() << r.messages,
                     (QStringList{"1_com1_off_0", "COM1 lost !", "1_connect_off_0"}));
            QVERIFY(r.el().lab_msg->toolTip().contains("Input/output error") && !r.link().polling());
        }
        // Not when the routine opened the port again, as COM1 does; and the next press is answered.
        StartedPanel r;
        r.port.unplug();
        r.click(buttons::com1);
        QVERIFY(r.st.port_open && r.caption() != QStringLiteral("COM1 lost !"));
        r.click(buttons::aspect);
        QVERIFY(r.link().receive_log().text().endsWith("ASP001 "));
    }

    // Another box, switched off, where the old one was: nothing of the old box's settings stays on show.
    void after_a_replug_the_panel_shows_what_a_fresh_start_shows()
    {
        BoxConfig off;
        off.power_on = false;
        StartedPanel r, fresh(off);
        for (int button : {buttons::scan, buttons::aspect, buttons::output, buttons::freeze})  // overscan, pan and scan, YPbPr, frozen
            r.click(button);
        r.port.unplug();
        r.box = BoxModel(off);
        r.click(buttons::com1);
        QCoreApplication::processEvents();  // it synchronises once the click is over
        const auto shown = [](PanelRig& p) {
            QStringList out{p.indicator()};
            for (int i = 0; i < 39; ++i)
                out << (p.ico(i) ? p.picture(i) : QString());
            for (QScrollBar* slider : p.el().hsr_video)
                out << QString::number(slider->value());
            const BoxMirror& b = p.st;
            for (int v : {b.power_state, b.aspect_mode, b.scan_mode, b.output_yuv, b.freeze_state, b.tv_system,
                          b.test_pattern, b.zoom_area, b.contrast_level, b.brightness_level, b.color_level,
                          b.flicker_level, b.sharpness_level, b.firmware_version})
                out << QString::number(v);
            return out;
        };
        QCOMPARE(shown(r), shown(fresh));
    }
};

QV_REGISTER_TEST(TestUnplug)
#include "tst_unplug.moc"
