// End to end, in real time: the real panel (offscreen, in this process, on
// the real serial port) against qv742-sim on a pseudo-terminal, driven at
// once by two qv742-ctl scripts and by clicks. Then the real program killed
// outright and started again: its socket is taken over.

#include "app/control_server.h"
#include "app/system_parts.h"
#include "app/come_forward.h"
#include "panel/picture_button.h"
#include "panel_copy.h"
#include "sim_process.h"
#include "test_registry.h"
#include "window/frm_main.h"

#include <QTemporaryDir>
#include <csignal>

namespace {

QProcess* start_ctl(const QString& runtime, const QStringList& args, QObject* parent)
{
    auto* p = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime);
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(QV742_CTL), args);
    return p;
}

QStringList output(QProcess& p)
{
    return QString::fromLatin1(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Every command the box received was answered before the next one came.
QString alternation_fault(const QStringList& sim_lines)
{
    bool owed = false;
    for (const QString& line : sim_lines) {
        if (line.startsWith("recv ")) {
            if (owed)
                return "two commands without a reply between them, at " + line;
            owed = true;
        } else if (line.startsWith("send ") && line != "send RDY000") {
            owed = false;
        }
    }
    return owed ? QStringLiteral("the last command got no reply") : QString();
}

}  // namespace

// The real panel on the real serial port, serving its control socket.
struct LivePanel {
    explicit LivePanel(const QString& link)
    {
        QFile settings(dir.filePath("QVR_742.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write("1,1,0,0,#FALSE#\r\n");
        settings.close();
        parts.port.set_device(1, link);
        PanelEnvironment env = parts.environment(QStringLiteral(QV742_SOURCE_DIR "/bmp"), settings.fileName());
        env.process_events = [this] {
            QCoreApplication::processEvents();
            if (server && server->queued() > 0)
                ++waiting_in_routines;
        };
        frm = std::make_unique<FrmMain>(env);
        frm->start();
        server = std::make_unique<ControlServer>(ControlTarget{
            &frm->panel(), [this] { come_forward(*frm); }, [this](int com) { return parts.port.device(com); }});
        server->listen(dir.filePath("qv742-panel.socket"), error);
    }
    ~LivePanel()
    {
        server.reset();
        frm->close();
    }
    QProcess* ctl(const QStringList& args, QObject* parent) { return start_ctl(dir.path(), args, parent); }
    QString picture(int i) const { return frm->elements().img_ico[i]->picture_name(); }

    QTemporaryDir dir;
    SystemParts parts;
    std::unique_ptr<FrmMain> frm;
    std::unique_ptr<ControlServer> server;
    QString error;
    int waiting_in_routines = 0;  // event passes of routines with a client's request waiting
};

class TestClientsEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void scripts_and_clicks_share_the_box()
    {
        SimProcess sim({"--reply-delay", "15", "--ready-delay", "100"});
        QVERIFY(sim.ready());
        LivePanel panel(sim.link());
        QVERIFY2(panel.error.isEmpty(), qPrintable(panel.error));
        QVERIFY(panel.parts.state.port_open);

        const QStringList one = {"FRZ001", "SCN001", "PAT000", "FRZ999", "VER999", "NPO001", "NPO999"};
        const QStringList two = {"FMT001", "CON040", "FMT999", "PWR999", "ZOM999", "BRI200", "SAT010", "SHA005"};
        const QStringList one_replies = {"FRZ001", "SCN001", "PAT000", "FRZ001", "VER105", "NPO001", "NPO001"};
        const QStringList two_replies = {"FMT001", "CON040", "FMT001", "PWR001", "ZOM000", "BRI200", "SAT010", "SHA005"};
        QStringList args_one = {"--port", sim.link()}, args_two = {"--port", sim.link()};
        for (int round = 0; round < 3; ++round) {
            args_one += one;
            args_two += two;
        }
        QProcess* script_one = panel.ctl(args_one, this);
        QProcess* script_two = panel.ctl(args_two, this);
        int clicks = 0;
        PictureButton* aspect = panel.frm->elements().img_ico[27];
        while (script_one->state() != QProcess::NotRunning || script_two->state() != QProcess::NotRunning) {
            QTest::mouseClick(aspect, Qt::LeftButton);
            ++clicks;
            QTest::qWait(10);
            QVERIFY(clicks < 3000);
        }
        QCOMPARE(script_one->exitCode(), 0);
        QCOMPARE(script_two->exitCode(), 0);
        QCOMPARE(output(*script_one), one_replies + one_replies + one_replies);
        QCOMPARE(output(*script_two), two_replies + two_replies + two_replies);
        QVERIFY(clicks > 3);
        QVERIFY2(panel.waiting_in_routines > 0, "no script's command came in the middle of a routine");

        // The box's log: command, reply, command, reply, never two at once.
        QTest::qWait(200);
        const QString fault = alternation_fault(sim.lines());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QCOMPARE(sim.received().count("FRZ001"), 3);

        // The panel shows what the scripts set, and what the clicks left.
        QCOMPARE(panel.picture(14), QString("1_freeze_on_0"));
        QCOMPARE(panel.picture(13), QString("1_out_yuv_0"));
        QCOMPARE(panel.picture(9), QString("1_scan_over_0"));
        QProcess* check = panel.ctl({"--port", sim.link(), "ASP999"}, this);
        QTRY_COMPARE_WITH_TIMEOUT(check->state(), QProcess::NotRunning, 20000);
        const QStringList names = {"full", "panscan", "letterbox"};
        const int aspect_now = output(*check).value(0).right(3).toInt();
        QCOMPARE(aspect->picture_name(), QString("1_aspect_%1_0").arg(names.value(aspect_now)));
    }

    void a_listening_script_hears_the_box_and_its_loss()
    {
        auto sim = std::make_unique<SimProcess>();
        QVERIFY(sim->ready());
        LivePanel panel(sim->link());
        QProcess* listener = panel.ctl({"--port", sim->link(), "--listen", "30", "VER999"}, this);
        QTRY_VERIFY_WITH_TIMEOUT(listener->canReadLine(), 20000);
        QCOMPARE(listener->readLine(), QByteArray("VER105\n"));
        sim->type("FRZ001");
        QTRY_VERIFY_WITH_TIMEOUT(listener->canReadLine(), 10000);
        QCOMPARE(listener->readLine(), QByteArray("FRZ001\n"));
        QTRY_COMPARE(panel.picture(14), QString("1_freeze_on_0"));
        // The device goes under the panel: the script ends as it would alone.
        sim.reset();
        QTRY_COMPARE_WITH_TIMEOUT(listener->state(), QProcess::NotRunning, 15000);
        QCOMPARE(listener->exitCode(), 2);
        QVERIFY(QString::fromLocal8Bit(listener->readAllStandardError()).contains("lost"));
    }

    void a_killed_panels_socket_is_taken_over()
    {
        SimProcess sim;
        QVERIFY(sim.ready());
        PanelCopy copy;
        QProcess& first = copy.start(sim.link());
        const QString socket = QDir(copy.runtime_dir()).filePath("qv742-panel.socket");
        QTRY_COMPARE_WITH_TIMEOUT(sim.received().count("VER999"), 1, 15000);
        QVERIFY(QFileInfo::exists(socket));
        ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(QFileInfo::exists(socket));  // left behind

        copy.start(sim.link());
        QTRY_COMPARE_WITH_TIMEOUT(sim.received().count("VER999"), 2, 15000);
        QProcess ctl;
        ctl.setProcessEnvironment(copy.environment());
        ctl.start(QStringLiteral(QV742_CTL), {"--port", sim.link(), "FRZ001"});
        QVERIFY(ctl.waitForFinished(20000));
        QCOMPARE(ctl.exitCode(), 0);
        QCOMPARE(output(ctl), QStringList{"FRZ001"});
    }
};

QV_REGISTER_TEST(TestClientsEndToEnd)
#include "tst_clients_e2e.moc"
