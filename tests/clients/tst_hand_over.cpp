// A second start of the real program while a panel runs: it hands over to
// the running panel (here in this process, on virtual time), which comes
// forward from wherever it was, and it exits 0 saying so.

#include "app/single_instance.h"
#include "magnifier/frm_mag.h"
#include "served_panel.h"
#include "test_registry.h"

#include <QProcess>

namespace {

struct SecondStart {
    int status = -1;
    QString err;
};

// Starts qv742-panel as this user's second panel and serves it meanwhile.
SecondStart start_again(ServedPanel& panel, const QStringList& args = {})
{
    QTemporaryDir tmp;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", panel.folder.path());
    env.insert("TMPDIR", tmp.path());
    env.insert("USER", "qvtest");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    SingleInstance first(QDir(tmp.path()).filePath("qv742-panel-qvtest.lock"));
    first.acquire();
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(QV742_PANEL), args);
    second.waitForStarted(10000);
    for (int i = 0; i < 10000 && second.state() != QProcess::NotRunning; ++i)
        QTest::qWait(2);
    SecondStart out;
    out.status = second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
    out.err = QString::fromLocal8Bit(second.readAllStandardError());
    return out;
}

}  // namespace

class TestHandOver : public QObject {
    Q_OBJECT
private slots:
    void a_second_start_brings_the_panel_forward()
    {
        ServedPanel panel;
        QVERIFY(panel.start());
        FrmMain& frm = panel.rig.frm();
        frm.enter_tray();
        QVERIFY(!frm.isVisible());
        SecondStart again = start_again(panel);
        QCOMPARE(again.status, 0);
        QVERIFY2(again.err.contains("brought forward"), qPrintable(again.err));
        QVERIFY(frm.isVisible());

        frm.showMinimized();
        again = start_again(panel, {"--com1", "/dev/ttyUSB7", "--com2", "/dev/qv-test-com2"});
        QCOMPARE(again.status, 0);
        QVERIFY(frm.isVisible() && !frm.isMinimized());
        // Only the device that differs is named.
        QVERIFY2(again.err.contains("COM1 is /dev/qv-test-com1, not /dev/ttyUSB7"), qPrintable(again.err));
        QVERIFY(!again.err.contains("COM2"));
    }

    void the_open_magnifier_comes_forward_instead()
    {
        ServedPanel panel;
        panel.rig.env.open_magnifier = nullptr;  // the real one
        panel.rig.desktop.screen_image = QImage(1024, 768, QImage::Format_RGB32);
        QVERIFY(panel.start());
        FrmMain& frm = panel.rig.frm();
        frm.open_magnifier();
        frm.hide_window();
        FrmMag* magnifier = frm.magnifier();
        QVERIFY(magnifier && magnifier->isVisible());
        magnifier->showMinimized();
        const SecondStart again = start_again(panel);
        QCOMPARE(again.status, 0);
        QVERIFY(magnifier->isVisible() && !magnifier->isMinimized());
        QVERIFY(!frm.isVisible());  // hidden behind its magnifier on purpose
    }

    void without_an_answer_it_says_so()
    {
        ServedPanel panel;  // a lock held, but nobody listening
        const SecondStart again = start_again(panel);
        QCOMPARE(again.status, 1);
        QVERIFY2(again.err.contains("does not answer"), qPrintable(again.err));
    }
};

QV_REGISTER_TEST(TestHandOver)
#include "tst_hand_over.moc"
