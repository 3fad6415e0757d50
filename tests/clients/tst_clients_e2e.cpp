// End to end, in real time: the real panel (offscreen, in this process, on
// the real serial port) against qv742-sim on a pseudo-terminal, driven at
// once by qv742-ctl scripts and by clicks.

#include "app/come_forward.h"
#include "app/control_server.h"
#include "app/system_parts.h"
#include "panel/picture_button.h"
#include "sim_process.h"
#include "test_files.h"
#include "test_registry.h"

namespace {

// Every command the box received was answered before the next one came.
bool strictly_alternating(const QStringList& sim_lines)
{
    bool owed = false;
    for (const QString& line : sim_lines) {
        if (line.startsWith("recv ") && owed)
            return false;
        if (line.startsWith("recv ") || (line.startsWith("send ") && line != "send RDY000"))
            owed = line.startsWith("recv ");
    }
    return !owed;
}

QStringList lines(QProcess* p) { return QString::fromLatin1(p->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts); }

}  // namespace

class TestClientsEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void scripts_and_clicks_share_the_box()
    {
        auto sim = std::make_unique<SimProcess>(QStringList{"--reply-delay", "15", "--ready-delay", "100"});
        QTemporaryDir dir;
        QVERIFY(write_file(dir.filePath("QVR_742.ini"), "1,1,0,0,#FALSE#\r\n"));
        SystemParts parts;
        parts.com_devices.set_override(1, sim->link());
        PanelEnvironment env = parts.environment(QStringLiteral(QV742_SOURCE_DIR "/bmp"), dir.filePath("QVR_742.ini"));
        int waited_in_routines = 0;  // event passes of routines with a client's command waiting
        ControlServer* serving = nullptr;
        env.process_events = [&] {
            QCoreApplication::processEvents();
            waited_in_routines += serving && serving->queued() > 0;
        };
        FrmMain frm(env);
        frm.start();
        ControlServer server({&frm.panel(), [&] { come_forward(frm); }, [&](int com) { return parts.port.device(com); }});
        serving = &server;
        QString error;
        QVERIFY2(server.listen(dir.filePath("qv742-panel.socket"), error), qPrintable(error));
        QProcessEnvironment ctl_env = QProcessEnvironment::systemEnvironment();
        ctl_env.insert("XDG_RUNTIME_DIR", dir.path());
        const auto ctl = [&](const QStringList& args) {
            auto* p = new QProcess(this);
            p->setProcessEnvironment(ctl_env);
            p->start(QStringLiteral(QV742_CTL), QStringList{"--port", sim->link()} + args);
            return p;
        };

        QProcess* listener = ctl({"--listen", "60"});
        QTRY_COMPARE_WITH_TIMEOUT(server.clients(), 1, 10000);
        const QStringList one = {"FRZ001", "SCN001", "PAT000", "FRZ999", "VER999", "NPO001"};
        const QStringList two = {"FMT001", "CON040", "FMT999", "PWR999", "ZOM999", "SHA005"};
        QProcess* script_one = ctl(one + one + one);
        QProcess* script_two = ctl(two + two + two);
        PictureButton* aspect = frm.elements().img_ico[27];
        int clicks = 0;
        while (script_one->state() != QProcess::NotRunning || script_two->state() != QProcess::NotRunning) {
            QTest::mouseClick(aspect, Qt::LeftButton);
            QTest::qWait(10);
            QVERIFY(++clicks < 3000);
        }
        const QStringList one_replies = {"FRZ001", "SCN001", "PAT000", "FRZ001", "VER105", "NPO001"};
        const QStringList two_replies = {"FMT001", "CON040", "FMT001", "PWR001", "ZOM000", "SHA005"};
        QCOMPARE(lines(script_one), one_replies + one_replies + one_replies);
        QCOMPARE(lines(script_two), two_replies + two_replies + two_replies);
        QVERIFY(script_one->exitCode() == 0 && script_two->exitCode() == 0 && clicks > 3);
        QVERIFY2(waited_in_routines > 0, "no script's command came in the middle of a routine");
        QTRY_VERIFY(strictly_alternating(sim->lines()));
        QCOMPARE(sim->received().count("FRZ001"), 3);

        // The panel shows what the scripts set, and what the clicks left.
        const auto picture = [&](int i) { return frm.elements().img_ico[i]->picture_name(); };
        QCOMPARE(QStringList({picture(14), picture(13), picture(9)}),
                 QStringList({"1_freeze_on_0", "1_out_yuv_0", "1_scan_over_0"}));
        QProcess* check = ctl({"ASP999"});
        QTRY_COMPARE_WITH_TIMEOUT(check->state(), QProcess::NotRunning, 20000);
        const QStringList names = {"full", "panscan", "letterbox"};
        QCOMPARE(aspect->picture_name(), "1_aspect_" + names.value(lines(check).value(0).right(3).toInt()) + "_0");

        // The listening script heard the box, and ends with the device.
        sim->type("FRZ000");
        QTRY_VERIFY_WITH_TIMEOUT(listener->canReadLine(), 10000);
        QCOMPARE(listener->readLine(), QByteArray("FRZ000\n"));
        sim.reset();
        QTRY_COMPARE_WITH_TIMEOUT(listener->state(), QProcess::NotRunning, 15000);
        QCOMPARE(listener->exitCode(), 2);
        serving = nullptr;
        frm.close();
    }
};

QV_REGISTER_TEST(TestClientsEndToEnd)
#include "tst_clients_e2e.moc"
