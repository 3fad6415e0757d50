// The real panel on headless KWin with Plasma's shell (wayland_session.sh
// --desktop kde starts it and runs this program inside): the panel as a
// user starts it, the simulated box, a pointer through KWin's fake input,
// KWin's own view of the windows and spectacle's of the screen.

#include "desktop_test.h"
#include "kwin_probe.h"

#include <QDBusInterface>

using namespace desktop_test;

namespace {

const QSize kScreen(1280, 800);

QImage screen()
{
    const QString file = kSession + "/shot.png";
    QFile::remove(file);
    run("spectacle", {"-b", "-n", "-f", "-o", file});
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TestKde : public QObject {
    Q_OBJECT

    KWinProbe kwin_;
    FakePointer pointer_;

    // The screen with the pointer out of the way, at the top right.
    QImage screen_without_pointer()
    {
        pointer_.move_to(QPoint(kScreen.width() - 1, 0));
        QTest::qWait(100);
        return screen();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(kwin_.connect_to_bus(), "the probe could not take its name on the session bus");
        const QString error = pointer_.start(kSession + "/bin/fake-pointer");
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(pattern(kScreen).save(kSession + "/pattern.png"));
        QDBusInterface("org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell")
            .call("evaluateScript", "desktops().forEach(function (d) { d.wallpaperPlugin = 'org.kde.image';"
                                    " d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
                                    " d.writeConfig('FillMode', 0);"
                                    " d.writeConfig('Image', 'file://" + kSession + "/pattern.png'); });");
        QTRY_VERIFY2_WITH_TIMEOUT(screen().pixel(500, 300) == pattern_colour(500, 300),
                                  "the desktop pattern did not appear (plasmashell)", 20000);
    }

    void a_session_with_the_panel_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::newRow("the panel's own choice") << QString();
        QTest::newRow("native Wayland") << "wayland";
    }

    void a_session_with_the_panel()
    {
        QFETCH(QString, platform);
        const bool native = platform == "wayland";
        const QByteArray stored = "1,1,1500,1500,#FALSE#\r\n";  // 100, 100
        QVERIFY(write_settings(stored));
        PanelRun run;
        QVERIFY2(run.start(platform), "qv742-sim or the panel did not start");
        QTRY_VERIFY2_WITH_TIMEOUT(kwin_.window(kPanelTitle), "the panel did not appear on the desktop", 20000);
        // Matched to the entry scripts/run writes for a build: its icon in
        // the task manager, and its grant of KWin's screenshot interface.
        QCOMPARE(kwin_.window(kPanelTitle)->value("desktopFile").toString(), QString("qv742-panel-build"));
        QTRY_VERIFY_WITH_TIMEOUT(run.box_asked("PWR999"), 20000);

        // The monitor goes aside, so the panel and the magnifier lie on the
        // pattern alone.
        QTRY_VERIFY2_WITH_TIMEOUT(kwin_.window("Receive Monitor"), "the receive monitor did not appear", 10000);
        kwin_.set("Receive Monitor", "frameGeometry = {x: 880, y: 420, width: c.frameGeometry.width, "
                                     "height: c.frameGeometry.height}");
        QTRY_VERIFY_WITH_TIMEOUT(kwin_.rect("Receive Monitor").x() >= 880, 10000);

        // KWin honours the place an X11 program asks for; a native window
        // is placed by KWin.
        QPoint at = kwin_.rect(kPanelTitle).topLeft();
        if (!native)
            QCOMPARE(at, QPoint(100, 100));
        QTest::qWait(300);
        // The desktop may still be showing the window's arrival.
        QString shape;
        QTRY_VERIFY2_WITH_TIMEOUT(
            shape_holds(shape = shape_on(screen_without_pointer(), at, QFileInfo(panel_program()).absolutePath())),
            qPrintable("the outline does not hold: " + shape), 5000);

        // Dragged by the background: KWin moves the window.
        const QPoint by = QPoint(160, 120) - at;
        pointer_.drag(at + kGrip, by);
        QTRY_COMPARE_WITH_TIMEOUT(kwin_.rect(kPanelTitle).topLeft(), at + by, 10000);
        at = kwin_.rect(kPanelTitle).topLeft();

        // The magnifier shows the desktop under it, with no question asked:
        // KWin grants its screenshot interface by the desktop entry.
        pointer_.click(at + kMagnifyButton);
        QTRY_VERIFY2_WITH_TIMEOUT(kwin_.window(kMagnifierTitle), "the magnifier did not appear", 20000);
        QTRY_VERIFY2_WITH_TIMEOUT(!kwin_.window(kPanelTitle), "the panel did not hide for the magnifier", 10000);
        QTest::qWait(500);
        const QRect mag = kwin_.rect(kMagnifierTitle);
        QVERIFY2(shows_what_lies_under(screen_without_pointer(), mag),
                 "the magnifier does not show the desktop under it");

        // Its close button brings the panel back where it was.
        pointer_.click(mag.bottomRight() - QPoint(13, 11));
        QTRY_VERIFY2_WITH_TIMEOUT(!kwin_.window(kMagnifierTitle), "the magnifier did not close", 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(kwin_.window(kPanelTitle), "the panel did not come back", 10000);
        if (!native)
            QCOMPARE(kwin_.rect(kPanelTitle).topLeft(), at);

        // Minimised, a second start brings it back.
        kwin_.set(kPanelTitle, "minimized = true");
        QTRY_VERIFY_WITH_TIMEOUT(kwin_.window(kPanelTitle)->value("minimized").toBool(), 10000);
        QProcess second;
        second.setProcessEnvironment(PanelRun::environment(platform));
        second.start(panel_program(), {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY2_WITH_TIMEOUT(!kwin_.window(kPanelTitle)->value("minimized").toBool(),
                                  "a second start did not bring the panel back", 10000);

        // Closing with its own button: the place KWin honoured is kept, a
        // native window's stored place stays.
        pointer_.click(kwin_.rect(kPanelTitle).topLeft() + kCloseButton);
        QVERIFY2(run.panel.waitForFinished(20000), "the panel did not end");
        QCOMPARE(run.panel.exitCode(), 0);
        const QByteArray moved = QByteArray("1,1,") + QByteArray::number(at.x() * 15) + ","
            + QByteArray::number(at.y() * 15) + ",#FALSE#\r\n";
        QCOMPARE(read_settings(), native ? stored : moved);
    }
};

QTEST_GUILESS_MAIN(TestKde)

#include "tst_kde_e2e.moc"
