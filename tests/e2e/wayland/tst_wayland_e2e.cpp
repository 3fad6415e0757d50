// The real panel on a headless sway session (wayland_session.sh starts it and
// runs this program inside): the panel as a user starts it, the simulated
// box, a virtual pointer driven over RFB, the compositor's own view of the
// windows (swaymsg) and of the screen (grim).

#include "rfb_pointer.h"

#include <QDBusInterface>
#include <QJsonArray>
#include <QJsonDocument>

using namespace desktop_test;

namespace {

const QSize kScreen(1024, 768);

QImage screen()
{
    return QImage::fromData(run("grim", {"-t", "ppm", "-"})).convertToFormat(QImage::Format_RGB32);
}

// A window as the compositor has it: where its content is, and how.
struct View {
    QRect content;
    QString shell;
    bool floating = false;
};

std::optional<View> view(const QString& title)
{
    QList<std::pair<QJsonObject, bool>> nodes{{QJsonDocument::fromJson(run("swaymsg", {"-r", "-t", "get_tree"})).object(), false}};
    while (!nodes.isEmpty()) {
        const auto [node, floating] = nodes.takeLast();
        if (node["name"].toString() == title && node.contains("pid")) {
            const QJsonObject r = node["rect"].toObject(), w = node["window_rect"].toObject();
            return View{QRect(r["x"].toInt() + w["x"].toInt(), r["y"].toInt() + w["y"].toInt(), w["width"].toInt(),
                              w["height"].toInt()),
                        node["shell"].toString(), floating};
        }
        for (const QJsonValue& c : node["nodes"].toArray())
            nodes.append({c.toObject(), floating});
        for (const QJsonValue& c : node["floating_nodes"].toArray())
            nodes.append({c.toObject(), true});
    }
    return std::nullopt;
}

QPoint corner(const QString& title)
{
    const auto v = view(title);
    return v ? v->content.topLeft() : QPoint(-1, -1);
}

// Status-notifier items the tray host (swaybar) has registered.
QStringList tray_items()
{
    return QDBusInterface("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher")
        .property("RegisteredStatusNotifierItems")
        .toStringList();
}

const QPoint kTrayButton(287, 75);

}  // namespace

class TestWayland : public QObject {
    Q_OBJECT

    RfbPointer pointer_;

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
        const QString error = pointer_.connect_to(qEnvironmentVariable("QV742_VNC_SOCKET"));
        QVERIFY2(error.isEmpty(), qPrintable("RFB: " + error));
        QVERIFY(pattern(kScreen).save(kSession + "/pattern.png"));
        run("swaymsg", {"output HEADLESS-1 bg " + kSession + "/pattern.png stretch"});
        QTRY_VERIFY2_WITH_TIMEOUT(screen().pixel(500, 300) == pattern_colour(500, 300),
                                  "the desktop pattern did not appear (swaybg)", 15000);
    }

    void a_session_with_the_panel_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("shell");
        QTest::newRow("the panel's own choice") << QString() << "xwayland";
        QTest::newRow("native Wayland") << "wayland" << "xdg_shell";
    }

    void a_session_with_the_panel()
    {
        QFETCH(QString, platform);
        QFETCH(QString, shell);
        // Stored at 100, 100: a place this compositor does not let a
        // program take, so the file must keep it.
        const QByteArray stored = "1,1,1500,1500,#FALSE#\r\n";
        QVERIFY(write_settings(stored));
        PanelRun started;
        QVERIFY2(started.start(platform), "qv742-sim or the panel did not start");
        QTRY_VERIFY2_WITH_TIMEOUT(view(kPanelTitle), "the panel did not appear on the desktop", 20000);
        QCOMPARE(view(kPanelTitle)->shell, shell);
        QVERIFY2(view(kPanelTitle)->floating, "the panel was tiled");
        QTRY_VERIFY_WITH_TIMEOUT(started.box_asked("PWR999"), 20000);

        // The monitor goes aside, so the panel and the magnifier lie on the
        // pattern alone.
        QTRY_VERIFY2_WITH_TIMEOUT(view("Receive Monitor"), "the receive monitor did not appear", 10000);
        run("swaymsg", {"[title=\"^Receive Monitor$\"] move position 690 470"});
        QTRY_VERIFY_WITH_TIMEOUT(corner("Receive Monitor").x() >= 690, 10000);
        QTest::qWait(300);

        // Shape: where the outline picture is white, the desktop shows.
        QPoint at = corner(kPanelTitle);
        const QString shape = shape_on(screen_without_pointer(), at, QFileInfo(panel_program()).absolutePath());
        QVERIFY2(shape_holds(shape), qPrintable("the outline does not hold: " + shape));

        // Drag by the background: the compositor moves the window.
        pointer_.drag(at + kGrip, QPoint(-220, -170));
        QTRY_COMPARE_WITH_TIMEOUT(corner(kPanelTitle), at + QPoint(-220, -170), 10000);
        at = corner(kPanelTitle);

        // The magnifier: floating at its own size, showing the desktop and
        // its button strip along the bottom.
        screen_without_pointer();
        pointer_.click(at + kMagnifyButton);
        QTRY_VERIFY2_WITH_TIMEOUT(!view(kPanelTitle), "the panel did not hide for the magnifier", 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(view(kMagnifierTitle), "the magnifier did not appear", 20000);
        QTest::qWait(500);
        const View mag = view(kMagnifierTitle).value_or(View());
        QVERIFY2(mag.floating, "the magnifier was tiled");
        QVERIFY2(mag.content.width() < kScreen.width() / 3 && mag.content.height() < kScreen.height() / 3,
                 "the magnifier was resized by the compositor");
        const QImage magnified = screen_without_pointer();
        QVERIFY2(shows_what_lies_under(magnified, mag.content), "the magnifier does not show the desktop under it");
        int strip = 0;
        for (int x = mag.content.left(); x <= mag.content.right(); ++x)
            strip += (magnified.pixel(x, mag.content.bottom() - 6) & 0xFFFFFF) == 0xD7A100;
        QVERIFY2(strip > mag.content.width() / 4 && strip < mag.content.width() * 9 / 10,
                 "the magnifier's button strip is not shown");

        // Dragging the magnifier: the view follows what lies under it. A
        // native Wayland window is not told where it went: its view stays.
        pointer_.drag(mag.content.center(), QPoint(-160, -120));
        QTRY_COMPARE_WITH_TIMEOUT(corner(kMagnifierTitle), mag.content.topLeft() + QPoint(-160, -120), 10000);
        const QRect moved = view(kMagnifierTitle).value_or(View()).content;
        if (shell == "xwayland")
            QTRY_VERIFY2_WITH_TIMEOUT(shows_what_lies_under(screen_without_pointer(), moved),
                                      "the magnified view did not follow the move", 5000);

        // Its close button brings the panel back.
        pointer_.click(moved.bottomRight() - QPoint(13, 11));
        QTRY_VERIFY2_WITH_TIMEOUT(!view(kMagnifierTitle), "the magnifier did not close", 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(view(kPanelTitle), "the panel did not come back", 10000);

        // The tray: the panel registers its icon with the bar and hides;
        // activating the icon brings it back.
        const QStringList before = tray_items();
        pointer_.click(corner(kPanelTitle) + kTrayButton);
        QTRY_VERIFY2_WITH_TIMEOUT(!view(kPanelTitle), "the tray button did not hide the panel", 10000);
        QStringList items;
        QTRY_VERIFY2_WITH_TIMEOUT((items = tray_items()).size() > before.size(), "no tray icon was registered", 10000);
        for (const QString& old : before)
            items.removeAll(old);
        const QString item = items.value(0);
        const QString path = item.contains('/') ? '/' + item.section('/', 1) : QStringLiteral("/StatusNotifierItem");
        QDBusInterface(item.section('/', 0, 0), path, "org.kde.StatusNotifierItem").call("Activate", 0, 0);
        QTRY_VERIFY2_WITH_TIMEOUT(view(kPanelTitle), "activating the tray icon did not show the panel", 10000);

        // Closing with its own button keeps the stored place.
        pointer_.click(corner(kPanelTitle) + kCloseButton);
        QVERIFY2(started.panel.waitForFinished(20000), "the panel did not end");
        QCOMPARE(started.panel.exitCode(), 0);
        QCOMPARE(read_settings(), stored);
    }
};

QTEST_GUILESS_MAIN(TestWayland)

#include "tst_wayland_e2e.moc"
