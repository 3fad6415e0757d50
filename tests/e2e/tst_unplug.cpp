// End to end, in real time: the serial device vanishes under the real panel
// (offscreen, in this process, on the real SystemSerialPort) while it is
// idle and in the middle of an exchange, and comes back. The simulator is
// killed outright, which is what the pty's far end sees when an adapter is
// pulled; it is then started again on the same link path. The replug test
// makes the device and its stable name (in a by-id folder of its own, read
// by the real device list) go and come back, with no click.

#include "app/system_parts.h"
#include "core/shared_state.h"
#include "link/clock.h"
#include "link/com_devices.h"
#include "link/protocol.h"
#include "link/system_device_list.h"
#include "link/system_serial_port.h"
#include "panel/message_line.h"
#include "panel/picture_button.h"
#include "panel/press_dispatch.h"
#include "platform/picture_store.h"
#include "platform/system_desktop.h"
#include "test_registry.h"
#include "window/com_device_menu.h"
#include "window/frm_main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QDir>
#include <QMenu>
#include <QTest>

#include <atomic>
#include <chrono>
#include <csignal>
#include <ctime>
#include <memory>
#include <thread>

namespace {

double cpu_seconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// qv742-sim on a fixed link path, so it can be stopped and started again
// where the panel expects it.
class Box {
public:
    Box(QString link, QStringList options) : link_(std::move(link)), options_(std::move(options)) {}
    ~Box() { kill(); }

    bool start()
    {
        QFile::remove(link_);
        process_ = std::make_unique<QProcess>();
        process_->setProgram(QStringLiteral(QV742_SIM));
        process_->setArguments(QStringList{"--link", link_} + options_);
        process_->start();
        if (!process_->waitForStarted(10000))
            return false;
        for (int i = 0; i < 1000 && !QFileInfo::exists(link_); ++i)
            QThread::msleep(10);
        return QFileInfo::exists(link_);
    }
    qint64 pid() const { return process_ ? process_->processId() : 0; }
    // The device is gone at once, as when the adapter is pulled out, and
    // its name with it: a link left behind could lead to another program's
    // pseudo-terminal once its number is given out again.
    void kill()
    {
        if (process_ && process_->state() != QProcess::NotRunning) {
            process_->kill();
            process_->waitForFinished(5000);
        }
        QFile::remove(link_);
    }
    QStringList received()
    {
        if (process_)
            output_ += QString::fromLatin1(process_->readAllStandardOutput());
        QStringList out;
        for (const QString& l : output_.split('\n', Qt::SkipEmptyParts))
            if (l.startsWith("recv "))
                out << l.mid(5);
        return out;
    }
    void forget_output()
    {
        received();
        output_.clear();
    }

private:
    QString link_;
    QStringList options_;
    std::unique_ptr<QProcess> process_;
    QString output_;
};

// Kills a process from another thread after `ms`, while the panel's thread
// is blocked in a wait of the link.
class DelayedKill {
public:
    DelayedKill(qint64 pid, int ms)
        : thread_([pid, ms] {
              std::this_thread::sleep_for(std::chrono::milliseconds(ms));
              ::kill(static_cast<pid_t>(pid), SIGKILL);
          })
    {
    }
    ~DelayedKill() { thread_.join(); }

private:
    std::thread thread_;
};

// The real panel window on the real serial port, with message boxes counted.
// COM1 is `link` from the command line or, with a by-id folder, the device
// chosen in an earlier run, found by the real device list.
struct LivePanel {
    explicit LivePanel(const QString& link, const QString& by_id_dir = QString())
        : devices(by_id_dir), com_devices(devices, "/dev/ttyS0", dir.filePath("no-such-com2"))
    {
        QFile settings(dir.filePath("QVR_742.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write("1,1,0,0,#FALSE#\r\n");
        settings.close();
        if (by_id_dir.isEmpty()) {
            com_devices.set_override(1, link);
        } else {
            QFile chosen(dir.filePath("QVR_742_devices.ini"));
            chosen.open(QIODevice::WriteOnly);
            chosen.write("COM1=" + link.toUtf8() + "\n");
        }
        PanelEnvironment env = parts.environment(QStringLiteral(QV742_SOURCE_DIR "/bmp"), settings.fileName());
        env.com_devices = &com_devices;
        env.message_box = [this](const QString& text, const QString&) { dialogs << text; };
        frm = std::make_unique<FrmMain>(env);
    }
    ~LivePanel() { frm->close(); }

    QString caption() const { return frm->elements().lab_msg->caption(); }
    QString indicator() const { return frm->elements().img_connect->picture_name(); }
    QString reply() { return frm->link().last_reply; }

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

    // After a loss: the link is down, said once and quietly, and nothing spins.
    void check_lost_quietly(LivePanel& panel)
    {
        QVERIFY(!panel.st.port_open);
        QCOMPARE(panel.caption(), QStringLiteral("COM1 lost !"));
        const QString tip = panel.frm->elements().lab_msg->toolTip();
        QVERIFY2(tip.contains(QLatin1String("stopped working")), qPrintable(tip));
        QCOMPARE(panel.indicator(), QStringLiteral("1_connect_off_0"));
        QVERIFY(!panel.frm->link().polling());
        QCOMPARE(panel.dialogs, QStringList());
        // Two seconds of the event loop: a port that reports its error over
        // and over would burn them.
        const double cpu_before = cpu_seconds();
        QEventLoop loop;
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpu = cpu_seconds() - cpu_before;
        QVERIFY2(cpu < 0.2, qPrintable(QStringLiteral("%1 s of CPU in 2 s after the loss").arg(cpu)));
        QVERIFY(!panel.frm->link().polling());
        QCOMPARE(panel.dialogs, QStringList());
        QCOMPARE(panel.caption(), QStringLiteral("COM1 lost !"));
        QCOMPARE(panel.frm->elements().lab_msg->toolTip(), tip);
        QCOMPARE(panel.frm->link().losses(), 1);  // said once, not at every error
    }

    // A command while the device is gone ends at once in "NONE". When the
    // box is back the panel opens it again, by itself or at once when COM1
    // is pressed, and synchronises as at start-up: the state is the new box's.
    void check_comes_back(LivePanel& panel, Box& box, bool click, int power)
    {
        QElapsedTimer t;
        t.start();
        panel.frm->link().tx_cmd(QStringLiteral("VER999"));
        QCOMPARE(panel.reply(), protocol::kNone);
        QVERIFY(t.elapsed() < 1000);
        QCOMPARE(panel.indicator(), QStringLiteral("1_connect_off_0"));

        QVERIFY(box.start());
        box.forget_output();
        if (click) {
            button_released(panel.frm->panel(), 28);
            QVERIFY(panel.st.port_open);
        }
        QTRY_COMPARE_WITH_TIMEOUT(box.received().size(), power == 1 ? 9 : 2, 10000);
        QCOMPARE(box.received().mid(0, 2), QStringList({"VER999", "PWR999"}));
        QVERIFY(panel.st.port_open);
        QVERIFY(panel.frm->link().polling());
        QCOMPARE(panel.st.power_state, power);
        QCOMPARE(panel.dialogs, QStringList());
        QCOMPARE(panel.indicator(), QStringLiteral("1_connect_on_0"));
        QCOMPARE(panel.frm->elements().lab_msg->toolTip(), QString());  // the loss is over
    }

private slots:
    void vanishes_while_idle()
    {
        QTemporaryDir dir;
        Box box(dir.filePath("com1"), {});
        QVERIFY(box.start());
        LivePanel panel(dir.filePath("com1"));
        panel.frm->start();
        QVERIFY(panel.st.port_open);
        QCOMPARE(panel.st.firmware_version, 105);
        QVERIFY(panel.frm->link().polling());

        box.kill();
        QTRY_VERIFY_WITH_TIMEOUT(!panel.st.port_open, 10000);
        check_lost_quietly(panel);
        check_comes_back(panel, box, false, 1);  // on: the seven mode queries too
    }

    void vanishes_during_the_ready_wait()
    {
        QTemporaryDir dir;
        Box box(dir.filePath("com1"), {"--off", "--no-ready"});
        QVERIFY(box.start());
        LivePanel panel(dir.filePath("com1"));
        panel.frm->start();
        QVERIFY(panel.st.port_open);
        QCOMPARE(panel.st.power_state, 0);

        QElapsedTimer t;
        t.start();
        {
            DelayedKill unplug(box.pid(), 1500);
            button_released(panel.frm->panel(), 26);  // power on: PWR001, then the ready wait
        }
        box.kill();
        // The wait ends with the device, not 5 s after it began.
        QVERIFY2(t.elapsed() < 4500, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(panel.reply(), protocol::kNone);
        QCOMPARE(panel.st.power_state, 1);  // the box did say PWR001
        QTRY_VERIFY_WITH_TIMEOUT(!panel.st.port_open, 10000);
        check_lost_quietly(panel);
        // The box that comes back is off: the panel, which took it as on,
        // shows it off. A click on COM1 opens it before the watch does.
        check_comes_back(panel, box, true, 0);
        QCOMPARE(panel.frm->elements().img_ico[26]->picture_name(), QStringLiteral("1_power_off_0"));
    }

    void vanishes_while_a_reply_is_pending()
    {
        QTemporaryDir dir;
        Box box(dir.filePath("com1"), {"--reply-delay", "250"});
        QVERIFY(box.start());
        LivePanel panel(dir.filePath("com1"));
        panel.frm->start();
        QVERIFY(panel.st.port_open);

        QElapsedTimer t;
        t.start();
        {
            DelayedKill unplug(box.pid(), 100);
            panel.frm->link().tx_cmd(QStringLiteral("ASP999"));
        }
        box.kill();
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(panel.reply(), protocol::kNone);
        QTRY_VERIFY_WITH_TIMEOUT(!panel.st.port_open, 10000);
        check_lost_quietly(panel);
        check_comes_back(panel, box, true, 1);
    }

    // Unplugged and plugged in again, with the stable name the device was
    // chosen by: back within a second with no click, with the state of the
    // box now there (switched off). The real device list lists it.
    void comes_back_by_itself_after_a_replug()
    {
        QTemporaryDir dir;
        const QString by_id = dir.filePath("serial/by-id");
        const QString stable = by_id + "/usb-QV742_Simulated_Box_0001-if00-port0";
        Box box(stable, {});
        QVERIFY(box.start());
        LivePanel panel(stable, by_id);
        panel.frm->start();
        QCOMPARE(panel.st.power_state, 1);
        QMenu* menu = panel.frm->device_menu()->open_menu(1);
        const QList<QAction*> entries = menu->actions();
        const auto in_use = std::find_if(entries.begin(), entries.end(), [](QAction* a) { return a->isChecked(); });
        QVERIFY(in_use != entries.end());
        QVERIFY((*in_use)->text().endsWith("usb-QV742_Simulated_Box_0001-if00-port0"));
        menu->close();

        box.kill();  // the adapter is pulled out: its device and stable name go
        QDir(dir.filePath("serial")).removeRecursively();
        QTRY_VERIFY_WITH_TIMEOUT(!panel.st.port_open, 10000);
        QTest::qWait(1500);
        QVERIFY(panel.devices.checks() <= 3);  // at most one check a second

        Box off(stable, {"--off"});
        QVERIFY(off.start());
        QElapsedTimer back;
        back.start();
        QTRY_VERIFY_WITH_TIMEOUT(panel.st.port_open && panel.st.power_state == 0, 1000);
        QVERIFY2(back.elapsed() < 1000, qPrintable(QString::number(back.elapsed())));
        QCOMPARE(panel.frm->elements().img_ico[26]->picture_name(), QStringLiteral("1_power_off_0"));
        QVERIFY(!panel.frm->elements().img_ico[9]->isEnabled());
        QCOMPARE(panel.caption(), QStringLiteral("COM1: On"));
        QCOMPARE(panel.dialogs, QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(off.received(), QStringList({"VER999", "PWR999"}), 10000);
    }
};

QV_REGISTER_TEST(TestUnplug)

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return run_registered_tests(argc, argv);
}

#include "tst_unplug.moc"
