// End to end, in real time: the serial device vanishes under the real panel
// (offscreen, in this process, on the real SystemSerialPort) while it is
// idle and in the middle of an exchange, and comes back. The simulator is
// killed outright, which is what the pty's far end sees when an adapter is
// pulled; it is then started again on the same link path.

#include "app/system_parts.h"
#include "core/shared_state.h"
#include "link/protocol.h"
#include "panel/message_line.h"
#include "panel/picture_button.h"
#include "panel/press_dispatch.h"
#include "sim_process.h"
#include "test_registry.h"
#include "window/frm_main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <csignal>
#include <ctime>
#include <thread>

namespace {

double cpu_seconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

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
struct LivePanel {
    explicit LivePanel(const QString& link)
    {
        QFile settings(dir.filePath("QVR_742.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write("1,1,0,0,#FALSE#\r\n");
        settings.close();
        parts.port.set_device(1, link);
        parts.port.set_device(2, dir.filePath("no-such-com2"));
        PanelEnvironment env = parts.environment(QStringLiteral(QV742_SOURCE_DIR "/bmp"), settings.fileName());
        env.message_box = [this](const QString& text, const QString&) { dialogs << text; };
        frm = std::make_unique<FrmMain>(env);
    }
    ~LivePanel() { frm->close(); }

    QString caption() const { return frm->elements().lab_msg->caption(); }
    QString indicator() const { return frm->elements().img_connect->picture_name(); }
    QString reply() { return frm->link().last_reply; }

    QTemporaryDir dir;
    SystemParts parts;
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
        QVERIFY(!panel.frm->tim_rx().isActive());
        QCOMPARE(panel.dialogs, QStringList());
        // Two seconds of the event loop: a port that reports its error over
        // and over would burn them.
        const double cpu_before = cpu_seconds();
        QEventLoop loop;
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpu = cpu_seconds() - cpu_before;
        QVERIFY2(cpu < 0.2, qPrintable(QStringLiteral("%1 s of CPU in 2 s after the loss").arg(cpu)));
        QVERIFY(!panel.frm->tim_rx().isActive());
        QCOMPARE(panel.dialogs, QStringList());
        QCOMPARE(panel.caption(), QStringLiteral("COM1 lost !"));
        QCOMPARE(panel.frm->elements().lab_msg->toolTip(), tip);
        QCOMPARE(panel.frm->link().losses(), 1);  // said once, not at every error
    }

    // A command while the device is gone ends at once in "NONE"; after the
    // box is back, the COM1 button opens it again and the next command is
    // answered.
    void check_comes_back(LivePanel& panel, SimProcess& box)
    {
        QElapsedTimer t;
        t.start();
        panel.frm->link().tx_cmd(QStringLiteral("VER999"));
        QCOMPARE(panel.reply(), protocol::kNone);
        QVERIFY(t.elapsed() < 1000);
        QCOMPARE(panel.indicator(), QStringLiteral("1_connect_off_0"));

        QVERIFY(box.start());
        button_released(panel.frm->panel(), 28);
        QVERIFY(panel.st.port_open);
        QVERIFY(panel.frm->tim_rx().isActive());
        QCOMPARE(panel.dialogs, QStringList());
        panel.frm->link().tx_cmd(QStringLiteral("VER999"));
        QCOMPARE(panel.reply(), QStringLiteral("VER105"));
        QCOMPARE(panel.indicator(), QStringLiteral("1_connect_on_0"));
        QTRY_COMPARE_WITH_TIMEOUT(box.received(), QStringList{"VER999"}, 10000);
    }

private slots:
    void vanishes_and_comes_back_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("kill_after_ms");  // into a routine; -1: while idle
        QTest::addColumn<int>("limit_ms");       // the routine ends within
        QTest::newRow("while idle") << QStringList() << -1 << 0;
        // Power on: PWR001, then the ready wait, which ends with the device,
        // not 5 s after it began.
        QTest::newRow("during the ready wait") << QStringList{"--off", "--no-ready"} << 1500 << 4500;
        QTest::newRow("while a reply is pending") << QStringList{"--reply-delay", "250"} << 100 << 1000;
    }
    void vanishes_and_comes_back()
    {
        QFETCH(QStringList, options);
        QFETCH(int, kill_after_ms);
        QFETCH(int, limit_ms);
        QTemporaryDir dir;
        SimProcess box(options, dir.filePath("com1"));
        QVERIFY(box.ready());
        LivePanel panel(dir.filePath("com1"));
        panel.frm->start();
        QVERIFY(panel.st.port_open);
        QCOMPARE(panel.st.firmware_version, 105);
        const bool off = options.contains("--off");
        QCOMPARE(panel.st.power_state, off ? 0 : 1);
        QVERIFY(panel.frm->tim_rx().isActive());

        if (kill_after_ms < 0) {
            // The real window's pauses wait on its event loop; they do not spin.
            QElapsedTimer waited;
            waited.start();
            const double cpu_before = cpu_seconds();
            panel.frm->link().wait_secs(0.3);
            QVERIFY(waited.elapsed() >= 300 && cpu_seconds() - cpu_before < 0.05);
            box.stop(true);
        } else {
            QElapsedTimer t;
            t.start();
            {
                DelayedKill unplug(box.pid(), kill_after_ms);
                if (off)
                    button_released(panel.frm->panel(), 26);
                else
                    panel.frm->link().tx_cmd(QStringLiteral("ASP999"));
            }
            QVERIFY2(t.elapsed() < limit_ms, qPrintable(QString::number(t.elapsed())));
            QCOMPARE(panel.reply(), protocol::kNone);
            QCOMPARE(panel.st.power_state, 1);  // the box did say PWR001
        }
        QTRY_VERIFY_WITH_TIMEOUT(!panel.st.port_open, 10000);
        check_lost_quietly(panel);
        check_comes_back(panel, box);
    }
};

QV_REGISTER_TEST(TestUnplug)

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return run_registered_tests(argc, argv);
}

#include "tst_unplug.moc"
