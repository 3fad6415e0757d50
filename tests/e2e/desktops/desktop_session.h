#pragma once
// The session both desktop tests run, once through XWayland (the panel's
// own choice) and once natively: what a user does with the panel, checked
// through the desktop's own view of its windows and of the screen.

#include "desktop_test.h"

#include <QJsonArray>
#include <QJsonObject>
#include <optional>
#include <utility>

namespace desktop_test {

inline const QSize kDesktopScreen(1280, 800);  // GNOME's and KDE's, as the session script makes it

// A pointer the compositor itself moves; each test gives it a way to move.
class Pointer {
public:
    virtual ~Pointer() = default;
    virtual void move_to(QPoint at) = 0;
    virtual void button(bool down) = 0;

    // Moves as a hand does, through the points on the way and slowing down
    // at the end: XWayland places a window's first event after the pointer
    // arrived at a stale spot, so a press must not be the next event.
    void glide_to(QPoint to, int step_ms = 15)
    {
        const QPoint from = at_;
        for (int i = 1; i <= 14; ++i) {
            move_to(i <= 10 ? from + (to - from) * i / 10 : to + QPoint(2, 2) * (14 - i));
            QTest::qWait(i <= 10 ? step_ms : 25);
        }
    }
    void click(QPoint at) { drag(at, {}); }
    // Presses at `from`, moves by `by` at a hand's pace and lets go.
    void drag(QPoint from, QPoint by)
    {
        glide_to(from);
        QTest::qWait(150);
        button(true);
        QTest::qWait(150);
        if (!by.isNull()) {
            glide_to(from + by, 40);
            QTest::qWait(150);
        }
        button(false);
    }

protected:
    QPoint at_;
};

// What the session needs of the desktop.
class DesktopUnderTest {
public:
    virtual ~DesktopUnderTest() = default;
    // Every window: title, x, y, width, height, minimized, and entry (the
    // desktop entry the desktop matched it to, without ".desktop").
    virtual QJsonArray windows() = 0;
    virtual void move_window(const QString& title, QPoint to) = 0;
    virtual void minimise(const QString& title) = 0;
    // Saves a screenshot of the whole screen as `file`.
    virtual void shoot(const QString& file) = 0;
    // The user starts the panel again, as a user of this desktop does.
    virtual void start_again(const QString& platform) = 0;
    // The desktop asks whether the magnifier may take screenshots: the
    // user reads the question and allows it.
    virtual void allow_screenshots() {}
    virtual Pointer& pointer() = 0;
    // Natively, whether the desktop opens the magnifier where it asks
    // (the middle of the screen).
    virtual bool centres_new_windows() const = 0;

    std::optional<QJsonObject> window(const QString& title)
    {
        for (const QJsonValue& w : windows())
            if (w["title"].toString() == title)
                return w.toObject();
        return std::nullopt;
    }
    QRect rect(const QString& title)
    {
        const auto w = window(title);
        return w ? QRect((*w)["x"].toInt(), (*w)["y"].toInt(), (*w)["width"].toInt(), (*w)["height"].toInt())
                 : QRect();
    }
    QImage screen()
    {
        const QString file = kSession + "/shot.png";
        QFile::remove(file);
        shoot(file);
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }
    bool minimised(const QString& title) { return window(title).value_or(QJsonObject())["minimized"].toBool(); }
    // The screen with the pointer out of the way, in the bottom right corner.
    QImage screen_without_pointer()
    {
        pointer().move_to(QPoint(kDesktopScreen.width() - 1, kDesktopScreen.height() - 1));
        QTest::qWait(100);
        return screen();
    }
};

// The session as a test class: each desktop's test derives from it.
class DesktopTest : public QObject, public DesktopUnderTest {
    Q_OBJECT

private slots:
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
        QTRY_VERIFY2_WITH_TIMEOUT(window(kPanelTitle), "the panel did not appear on the desktop", 20000);
        // Matched to the entry scripts/run writes for a build: its name and
        // icon in the task bar, and on Plasma its grant of KWin's screenshots.
        QCOMPARE(window(kPanelTitle)->value("entry").toString(), QString("qv742-panel-build"));
        QTRY_VERIFY_WITH_TIMEOUT(run.box_asked("PWR999"), 20000);

        // The monitor goes aside, so the panel and the magnifier lie on the
        // pattern alone.
        QTRY_VERIFY2_WITH_TIMEOUT(window("Receive Monitor"), "the receive monitor did not appear", 10000);
        move_window("Receive Monitor", QPoint(880, 420));
        QTRY_VERIFY_WITH_TIMEOUT(rect("Receive Monitor").x() >= 880, 10000);

        // The place an X11 program asks for is honoured; a native window is
        // placed by the desktop.
        QPoint at = rect(kPanelTitle).topLeft();
        if (!native)
            QCOMPARE(at, QPoint(100, 100));
        // The desktop may still be showing the window's arrival. Each look is
        // a screenshot: qWaitFor waits on real time and looks once a round,
        // where QTRY counts rounds and looks twice in one.
        QString shape;
        const QString folder = QFileInfo(panel_program()).absolutePath();
        QVERIFY2(QTest::qWaitFor([&] { return shape_holds(shape = shape_on(screen_without_pointer(), at, folder)); }, 20000),
                 qPrintable("the outline does not hold: " + shape));

        // Dragged by the background: the desktop moves the window.
        const QPoint by = QPoint(160, 120) - at;
        pointer().drag(at + kGrip, by);
        QTRY_COMPARE_WITH_TIMEOUT(rect(kPanelTitle).topLeft(), at + by, 10000);
        at = rect(kPanelTitle).topLeft();

        // The magnifier shows the desktop under it, once allowed to.
        pointer().click(at + kMagnifyButton);
        QTRY_VERIFY2_WITH_TIMEOUT(window(kMagnifierTitle), "the magnifier did not appear", 20000);
        QTRY_VERIFY2_WITH_TIMEOUT(!window(kPanelTitle), "the panel did not hide for the magnifier", 10000);
        allow_screenshots();
        if (QTest::currentTestFailed())
            return;
        // Twice running: a look while it hides for a grab sees the desktop too.
        int shown = 0;
        if (!native || centres_new_windows())
            QVERIFY2(QTest::qWaitFor([&] {
                         shown = shows_what_lies_under(screen_without_pointer(), rect(kMagnifierTitle)) ? shown + 1 : 0;
                         return shown == 2;
                     }, 15000), "the magnifier does not show the desktop under it");

        // Its close button brings the panel back, where it was; natively
        // once the desktop has placed it.
        QRect mag;
        QVERIFY(QTest::qWaitFor([&] {
            const QRect now = rect(kMagnifierTitle);
            const QRect before = std::exchange(mag, now);
            return !now.isEmpty() && before == now;
        }, 10000));
        pointer().click(mag.bottomRight() - QPoint(13, 11));
        QTRY_VERIFY2_WITH_TIMEOUT(!window(kMagnifierTitle), "the magnifier did not close", 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(window(kPanelTitle), "the panel did not come back", 10000);
        if (!native)
            QCOMPARE(rect(kPanelTitle).topLeft(), at);

        // Minimised, it comes back when the user starts it again.
        minimise(kPanelTitle);
        QTRY_VERIFY_WITH_TIMEOUT(minimised(kPanelTitle), 10000);
        start_again(platform);
        QTRY_VERIFY2_WITH_TIMEOUT(!minimised(kPanelTitle), "a second start did not bring the panel back", 15000);

        // Closing with its own button: the place the desktop honoured is kept,
        // a native window's stored place stays.
        pointer().click(rect(kPanelTitle).topLeft() + kCloseButton);
        QVERIFY2(run.panel.waitForFinished(20000), "the panel did not end");
        QCOMPARE(run.panel.exitCode(), 0);
        const QByteArray moved = QByteArray("1,1,") + QByteArray::number(at.x() * 15) + ","
            + QByteArray::number(at.y() * 15) + ",#FALSE#\r\n";
        QCOMPARE(read_settings(), native ? stored : moved);
    }
};

}  // namespace desktop_test
