// The real panel on a headless sway session (wayland_session.sh starts it and
// runs this program inside): the panel as a user starts it, the simulated
// box, a virtual pointer driven over RFB, the compositor's own view of the
// windows (swaymsg) and of the screen (grim).

#include "rfb_pointer.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

const QString kSession = QStringLiteral("/tmp/session");
const QSize kScreen(1024, 768);
constexpr int kBlock = 32;             // the desktop pattern's squares
const QRgb kStrip = qRgb(215, 161, 0);  // the magnifier's button strip

// Every square of the desktop has a colour of its own, so a pixel tells
// where on the desktop it comes from.
QRgb pattern_colour(int x, int y)
{
    const int bx = x / kBlock, by = y / kBlock;
    return qRgb(8 * bx, 10 * by, (bx + by) % 2 ? 192 : 128);
}

// The square a pixel of the pattern comes from.
std::optional<QPoint> pattern_square(QRgb c)
{
    const int bx = (qRed(c) + 4) / 8, by = (qGreen(c) + 5) / 10;
    if (pattern_colour(bx * kBlock, by * kBlock) != (c | 0xFF000000u))
        return std::nullopt;
    return QPoint(bx, by);
}

QByteArray run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(15000))
        return {};
    return p.readAllStandardOutput();
}

QImage screen()
{
    return QImage::fromData(run(QStringLiteral("grim"), {QStringLiteral("-t"), QStringLiteral("ppm"),
                                                          QStringLiteral("-")}))
        .convertToFormat(QImage::Format_RGB32);
}

// A window as the compositor has it: where its content is, and how.
struct View {
    QRect content;
    QString shell;
    bool floating = false;
};

void collect(const QJsonObject& node, bool floating, const QString& title, std::optional<View>& out)
{
    if (node.value("name").toString() == title && node.contains("pid") && !out) {
        const QJsonObject r = node.value("rect").toObject(), w = node.value("window_rect").toObject();
        View v;
        v.content = QRect(r.value("x").toInt() + w.value("x").toInt(), r.value("y").toInt() + w.value("y").toInt(),
                          w.value("width").toInt(), w.value("height").toInt());
        v.shell = node.value("shell").toString();
        v.floating = floating;
        out = v;
    }
    for (const QJsonValue& c : node.value("nodes").toArray())
        collect(c.toObject(), floating, title, out);
    for (const QJsonValue& c : node.value("floating_nodes").toArray())
        collect(c.toObject(), true, title, out);
}

std::optional<View> view(const QString& title)
{
    std::optional<View> out;
    collect(QJsonDocument::fromJson(run(QStringLiteral("swaymsg"), {"-r", "-t", "get_tree"})).object(), false, title,
            out);
    return out;
}

QPoint corner(const QString& title)
{
    const auto v = view(title);
    return v ? v->content.topLeft() : QPoint(-1, -1);
}

void sway(const QString& command)
{
    run(QStringLiteral("swaymsg"), {command});
}

// Status-notifier items the tray host (swaybar) has registered.
QStringList tray_items()
{
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"));
    return watcher.property("RegisteredStatusNotifierItems").toStringList();
}

uint pid_of(const QString& bus_name)
{
    const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(bus_name);
    return pid.isValid() ? pid.value() : 0;
}

// Panel points, in pixels from its corner: the background it is dragged by,
// and the centres of the magnifier, tray and close buttons.
const QPoint kGrip(10, 100);
const QPoint kMagnifyButton(172, 56);
const QPoint kTrayButton(287, 75);
const QPoint kCloseButton(287, 37);

}  // namespace

class TestWayland : public QObject {
    Q_OBJECT

    RfbPointer pointer_;
    std::unique_ptr<QProcess> sim_;
    std::unique_ptr<QProcess> panel_;
    QString sim_log_;

    // What the simulated box has received and sent so far.
    QString sim_log()
    {
        sim_log_ += QString::fromLatin1(sim_->readAllStandardOutput());
        return sim_log_;
    }

    void stop_programs()
    {
        for (QProcess* p : {panel_.get(), sim_.get()}) {
            if (!p || p->state() == QProcess::NotRunning)
                continue;
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
            p->waitForFinished(2000);
        }
        panel_.reset();
        sim_.reset();
        sim_log_.clear();
    }

    void drag(QPoint from, QPoint by)
    {
        pointer_.move_to(from);
        QTest::qWait(150);
        pointer_.press(from);
        QTest::qWait(150);
        for (int i = 1; i <= 10; ++i) {
            pointer_.move_to(from + by * i / 10);
            QTest::qWait(40);
        }
        QTest::qWait(150);
        pointer_.release(from + by);
    }

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
        QString error;
        QVERIFY2(pointer_.connect_to(qEnvironmentVariable("QV742_VNC_SOCKET"), error), qPrintable("RFB: " + error));

        // The desktop shows a pattern whose every pixel tells its place.
        QImage pattern(kScreen, QImage::Format_RGB32);
        for (int y = 0; y < kScreen.height(); ++y)
            for (int x = 0; x < kScreen.width(); ++x)
                pattern.setPixel(x, y, pattern_colour(x, y));
        QVERIFY(pattern.save(kSession + "/pattern.png"));
        sway("output HEADLESS-1 bg " + kSession + "/pattern.png stretch");
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
        const bool native = shell == QLatin1String("xdg_shell");
        stop_programs();
        QFile::remove(kSession + "/com1");
        sim_ = std::make_unique<QProcess>();
        panel_ = std::make_unique<QProcess>();
        sim_->start(qEnvironmentVariable("QV742_SIM"), {"--link", kSession + "/com1"});
        QTRY_VERIFY2_WITH_TIMEOUT(QFile::exists(kSession + "/com1"), "qv742-sim did not start", 10000);

        // Stored at 100, 100: a place this compositor does not let a
        // program take, so the file must keep it.
        const QByteArray stored = "1,1,1500,1500,#FALSE#\r\n";
        const QString settings = QFileInfo(qEnvironmentVariable("QV742_PANEL")).absolutePath() + "/QVR_742.ini";
        {
            QFile f(settings);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(stored);
        }
        // Started as a user would: the panel chooses its platform itself,
        // unless the user chose one.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        if (!platform.isEmpty())
            env.insert("QT_QPA_PLATFORM", platform);
        panel_->setProcessEnvironment(env);
        panel_->setProcessChannelMode(QProcess::ForwardedChannels);
        panel_->start(qEnvironmentVariable("QV742_PANEL"), {"--com1", kSession + "/com1"});
        QVERIFY2(panel_->waitForStarted(), "the panel did not start");
        QElapsedTimer clock;
        clock.start();

        QTRY_VERIFY2_WITH_TIMEOUT(view("Scan Converter"), "the panel did not appear on the desktop", 20000);
        qInfo("the panel was on screen after %lld ms", clock.elapsed());
        const View panel = view("Scan Converter").value_or(View());
        QCOMPARE(panel.shell, shell);
        QVERIFY2(panel.floating, "the panel was tiled");
        QTRY_VERIFY_WITH_TIMEOUT(sim_log().contains("recv PWR999"), 20000);

        // The monitor goes aside, so the panel and the magnifier lie on the
        // pattern alone.
        QTRY_VERIFY2_WITH_TIMEOUT(view("Receive Monitor"), "the receive monitor did not appear", 10000);
        sway("[title=\"^Receive Monitor$\"] move position 690 470");
        QTRY_VERIFY_WITH_TIMEOUT(corner("Receive Monitor").x() >= 690, 10000);
        QTest::qWait(300);

        // Shape: where the outline picture is white, the desktop shows.
        QPoint at = corner("Scan Converter");
        {
            const QImage outline(QFileInfo(qEnvironmentVariable("QV742_PANEL")).absolutePath()
                                 + "/bmp/blue_panel.bmp");
            QVERIFY(!outline.isNull());
            const QImage shot = screen_without_pointer();
            int outside = 0, see_through = 0, inside = 0, painted = 0;
            for (int y = 0; y < outline.height(); ++y)
                for (int x = 0; x < outline.width(); ++x) {
                    const QPoint p = at + QPoint(x, y);
                    const bool is_outside = (outline.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
                    const bool shows_desktop = shot.pixel(p) == pattern_colour(p.x(), p.y());
                    (is_outside ? outside : inside)++;
                    if (is_outside && shows_desktop)
                        ++see_through;
                    if (!is_outside && !shows_desktop)
                        ++painted;
                }
            QVERIFY2(outside > 20, "the outline picture has no corners to test");
            QVERIFY2(see_through == outside,
                     qPrintable(QStringLiteral("outside the outline %1 of %2 pixels hide the desktop")
                                    .arg(outside - see_through)
                                    .arg(outside)));
            QVERIFY2(painted > inside * 95 / 100, "the panel itself is not painted");
        }

        // Drag by the background: the compositor moves the window.
        const QPoint by(-220, -170);
        drag(at + kGrip, by);
        QTRY_COMPARE_WITH_TIMEOUT(corner("Scan Converter"), at + by, 10000);
        at = corner("Scan Converter");

        // The magnifier: floating at its own size, showing the desktop.
        // The pointer leaves the panel and comes back, as a hand's would.
        screen_without_pointer();
        pointer_.click(at + kMagnifyButton);
        QTRY_VERIFY2_WITH_TIMEOUT(!view("Scan Converter"), "the panel did not hide for the magnifier", 10000);
        clock.start();
        QTRY_VERIFY2_WITH_TIMEOUT(view("QV-742"), "the magnifier did not appear", 20000);
        qInfo("the magnifier, with its snapshot, was on screen after %lld ms", clock.elapsed());
        QTest::qWait(500);
        const View mag = view("QV-742").value_or(View());
        QVERIFY2(mag.floating, "the magnifier was tiled");
        QVERIFY2(mag.content.width() < kScreen.width() / 3 && mag.content.height() < kScreen.height() / 3,
                 "the magnifier was resized by the compositor");
        const auto magnified_square = [](const QImage& shot, const QRect& r) {
            return pattern_square(shot.pixel(r.center()));
        };
        const auto expected_square = [](const QRect& r) {
            return QPoint(r.center().x() / kBlock, r.center().y() / kBlock);
        };
        const auto near = [](std::optional<QPoint> a, QPoint b) {
            return a && std::abs(a->x() - b.x()) <= 1 && std::abs(a->y() - b.y()) <= 1;
        };
        {
            const QImage shot = screen_without_pointer();
            QVERIFY2(near(magnified_square(shot, mag.content), expected_square(mag.content)),
                     "the magnifier does not show the desktop under it");
            // The strip lies along the bottom, its six buttons on it.
            const int row = mag.content.bottom() - 6;
            int strip = 0;
            for (int x = mag.content.left(); x <= mag.content.right(); ++x)
                strip += (shot.pixel(x, row) & 0xFFFFFF) == (kStrip & 0xFFFFFF);
            QVERIFY2(strip > mag.content.width() / 4 && strip < mag.content.width() * 9 / 10,
                     "the magnifier's button strip is not shown");
        }

        // Dragging the magnifier: the view follows what lies under it. A
        // native Wayland window is not told where it went: its view stays.
        drag(mag.content.center(), QPoint(-160, -120));
        QTRY_COMPARE_WITH_TIMEOUT(corner("QV-742"), mag.content.topLeft() + QPoint(-160, -120), 10000);
        const QRect moved = view("QV-742").value_or(View()).content;
        if (!native)
            QTRY_VERIFY2_WITH_TIMEOUT(near(magnified_square(screen_without_pointer(), moved), expected_square(moved)),
                                      "the magnified view did not follow the move", 5000);

        // Its close button brings the panel back.
        pointer_.click(moved.bottomRight() - QPoint(13, 11));
        QTRY_VERIFY2_WITH_TIMEOUT(!view("QV-742"), "the magnifier did not close", 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(view("Scan Converter"), "the panel did not come back", 10000);
        at = corner("Scan Converter");

        // The tray: the panel registers its icon with the bar and hides;
        // activating the icon brings it back.
        const int before = tray_items().size();
        pointer_.click(at + kTrayButton);
        QTRY_VERIFY2_WITH_TIMEOUT(!view("Scan Converter"), "the tray button did not hide the panel", 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(tray_items().size() > before, "no tray icon was registered", 10000);
        QString item;
        for (const QString& i : tray_items())
            if (pid_of(i.section('/', 0, 0)) == uint(panel_->processId()))
                item = i;
        QVERIFY2(!item.isEmpty(), qPrintable("no tray icon of the panel among " + tray_items().join(' ')));
        const QString path = item.contains('/') ? '/' + item.section('/', 1) : QStringLiteral("/StatusNotifierItem");
        QDBusInterface icon(item.section('/', 0, 0), path, "org.kde.StatusNotifierItem");
        icon.call("Activate", 0, 0);
        QTRY_VERIFY2_WITH_TIMEOUT(view("Scan Converter"), "activating the tray icon did not show the panel", 10000);
        at = corner("Scan Converter");

        // Closing with its own button keeps the stored place.
        pointer_.click(at + kCloseButton);
        QVERIFY2(panel_->waitForFinished(20000), "the panel did not end");
        QCOMPARE(panel_->exitCode(), 0);
        QFile f(settings);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), stored);
    }

    void cleanupTestCase() { stop_programs(); }
};

QTEST_GUILESS_MAIN(TestWayland)

#include "tst_wayland_e2e.moc"
