// A second start of the real program while a panel runs (here in this
// process, on virtual time): the running panel comes forward from wherever
// it was, and the second start says so and exits 0.

#include "app/single_instance.h"
#include "magnifier/frm_mag.h"
#include "served_panel.h"
#include "test_registry.h"

#include <QProcess>

namespace {

// Starts qv742-panel as this user's second panel and serves it meanwhile;
// its standard error, or "exit N" when it did not exit 0.
QString start_again(ServedPanel& panel, const QStringList& args = {})
{
    QTemporaryDir tmp;
    SingleInstance first(QDir(tmp.path()).filePath("qv742-panel-qvtest.lock"));
    first.acquire();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", panel.folder.path());
    env.insert("TMPDIR", tmp.path());
    env.insert("USER", "qvtest");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(QV742_PANEL), args);
    for (int i = 0; i < 10000 && second.state() != QProcess::NotRunning; ++i)
        QTest::qWait(2);
    const QString err = QString::fromLocal8Bit(second.readAllStandardError());
    return second.exitCode() == 0 ? err : QStringLiteral("exit %1").arg(second.exitCode());
}

}  // namespace

class TestHandOver : public QObject {
    Q_OBJECT
private slots:
    void a_second_start_brings_the_panel_forward()
    {
        ServedPanel panel;
        panel.rig.env.open_magnifier = nullptr;  // the real one
        QVERIFY(panel.start());
        FrmMain& frm = panel.rig.frm();
        frm.enter_tray();
        QVERIFY(!frm.isVisible());
        QVERIFY(start_again(panel).contains("brought forward"));
        QVERIFY(frm.isVisible());

        frm.showMinimized();
        // Only a device that differs from the running panel's is named.
        const QString err = start_again(panel, {"--com1", "/dev/ttyUSB7", "--com2", "/dev/qv-com2"});
        QVERIFY2(err.contains("COM1 is /dev/qv-com1, not /dev/ttyUSB7") && !err.contains("COM2"), qPrintable(err));
        QVERIFY(frm.isVisible() && !frm.isMinimized());

        // The magnifier open, the panel hidden behind it on purpose.
        frm.open_magnifier();
        frm.hide_window();
        FrmMag* magnifier = frm.magnifier();
        magnifier->showMinimized();
        QVERIFY(start_again(panel).contains("brought forward"));
        QVERIFY(magnifier->isVisible() && !magnifier->isMinimized());
        QVERIFY(!frm.isVisible());
    }
};

QV_REGISTER_TEST(TestHandOver)
#include "tst_hand_over.moc"
