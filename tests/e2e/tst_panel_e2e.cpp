// End to end, in real time: the real panel (offscreen) against qv742-sim on
// a pseudo-terminal. A copy of the program in a temporary folder keeps its
// settings file and lock away from everything else.

#include "panel_copy.h"
#include "sim_process.h"
#include "test_registry.h"

#include <QElapsedTimer>
#include <csignal>

static const QStringList kStartup = {"VER999", "PWR999", "ASP999", "SCN999", "FMT999",
                                     "FRZ999", "NPO999", "PAT999", "ZOM999"};

class TestPanelEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void starts_talks_and_saves_its_settings()
    {
        SimProcess sim;
        QVERIFY(sim.ready());
        PanelCopy copy;
        copy.runtime_folder = false;  // the panel makes a private folder for its socket
        copy.write_settings("2,1,150,300,#FALSE#\r\n");
        QProcess& panel = copy.start(sim.link());
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), kStartup, 15000);

        // A second start hands over to the running panel and touches nothing.
        QProcess& second = copy.start(sim.link());
        QVERIFY(second.waitForFinished(10000) && second.exitCode() == 0);
        QCOMPARE(sim.received(), kStartup);
        QCOMPARE(copy.settings(), QByteArray("2,1,150,300,#FALSE#\r\n"));

        // The box's own messages are followed: switched on from its front
        // panel, it reports ready a moment later and the panel resynchronises.
        sim.type("PWR001");
        QTest::qWait(300);
        sim.type("RDY000");
        QTRY_COMPARE_WITH_TIMEOUT(sim.received().size(), kStartup.size() + 7, 10000);
        QCOMPARE(sim.received().mid(kStartup.size()), kStartup.mid(2));

        // Asked to end in the middle of a wait for the box's ready message
        // (switched on again, and silent), it ends when the wait does, at
        // the latest, and writes its settings.
        sim.type("PWR001");
        QTest::qWait(300);
        QElapsedTimer asked;
        asked.start();
        ::kill(static_cast<pid_t>(panel.processId()), SIGTERM);
        QVERIFY(panel.waitForFinished(10000) && panel.exitStatus() == QProcess::NormalExit && panel.exitCode() == 0);
        QVERIFY2(asked.elapsed() < 6000, qPrintable(QString::number(asked.elapsed())));
        QCOMPARE(copy.settings(), QByteArray("2,1,150,300,#FALSE#\r\n"));
    }

    // Logout must not wait for someone to click OK: whatever box is open, a
    // request to end ends the program, and the message goes to stderr.
    void a_request_to_end_is_never_held_by_a_box()
    {
        for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
            const bool box_at_start = sig == SIGINT;  // else the box comes at shut-down
            SimProcess sim;
            PanelCopy copy;
            QVERIFY(QDir(copy.dir.path()).mkdir("QVR_742.ini"));  // a folder where the file belongs
            if (box_at_start)
                QVERIFY(QFile::remove(copy.dir.filePath("bmp/blue_panel.bmp")));
            else if (sig == SIGTERM)  // nowhere to listen for scripts: it runs all the same
                QVERIFY(QDir(copy.dir.path()).mkpath("run/qv742-panel.socket"));
            QProcess& panel = copy.start(sim.link(), "offscreen", QProcess::SeparateChannels);
            if (box_at_start)
                QTest::qWait(1500);
            else
                QTRY_COMPARE_WITH_TIMEOUT(sim.received(), kStartup, 15000);
            ::kill(static_cast<pid_t>(panel.processId()), sig);
            QVERIFY(panel.waitForFinished(5000) && panel.exitStatus() == QProcess::NormalExit);
            const QString said = QString::fromLocal8Bit(panel.readAllStandardError());
            QVERIFY2(said.contains(box_at_start ? "Cannot load the picture" : "Cannot save the settings")
                         && said.contains("scripts cannot reach this panel") == (sig == SIGTERM), qPrintable(said));
        }
    }
};

QV_REGISTER_TEST(TestPanelEndToEnd)
#include "tst_panel_e2e.moc"
