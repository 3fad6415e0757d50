// End to end with a real mouse and keyboard: the panel program on an X
// server of its own (Xvfb), driven by xdotool, against qv742-sim; this
// process looks at the same display. What virtual time proves (the commands
// of each button) is not repeated: here the pointer really hovers, clicks,
// drags and closes, and a key is really held down.

#include "panel_copy.h"
#include "sim_process.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QMap>
#include <QScreen>
#include <QTest>

#include <cstdio>

namespace {

const QRect kPower(33, 43, 39, 27);
const QRect kClose(276, 28, 22, 19);
const QRect kMessageLine(181, 3, 106, 14);  // lab_msg: 2715, 45, 1590, 210 twips
const QPoint kBackground(10, 100);

QString xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(15000);
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

void pointer_to(QPoint at)
{
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
}

// The screen as the user sees it, from this process on the same display.
QImage screen_part(const QRect& r)
{
    return QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Equal but for the last bits of a colour.
bool same_pixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 2 || std::abs(qGreen(p) - qGreen(q)) > 2
                || std::abs(qBlue(p) - qBlue(q)) > 2)
                return false;
        }
    return true;
}

QImage picture(const QString& name)
{
    return QImage(QStringLiteral(QV742_SOURCE_DIR "/resources/pictures/%1.bmp").arg(name))
        .convertToFormat(QImage::Format_RGB32);
}
}  // namespace

class TestInput : public QObject {
    Q_OBJECT

    QString window_;
    QProcess* process_ = nullptr;

    QRect geometry()
    {
        QMap<QString, int> field;  // "X=100" and so on, a line each
        for (const QString& line : xdotool({"getwindowgeometry", "--shell", window_}).split('\n'))
            field[line.section('=', 0, 0)] = line.section('=', 1).toInt();
        return QRect(field["X"], field["Y"], field["WIDTH"], field["HEIGHT"]);
    }
    // The panel stored at 100, 100, on this display; true once its window shows.
    bool show_panel(PanelCopy& panel, SimProcess& sim)
    {
        panel.write_settings("1,1,1500,1500,#FALSE#\r\n");
        process_ = &panel.start(sim.link(), QStringLiteral("xcb"));
        return sim.ready() && QTest::qWaitFor([&] {
            return !(window_ = xdotool({"search", "--onlyvisible", "--name", "^Scan Converter$"}).section('\n', 0, 0))
                        .isEmpty();
        }, 20000);
    }

private slots:
    void a_session_with_the_mouse()
    {
        SimProcess sim({"--off"});
        PanelCopy panel;
        QVERIFY(show_panel(panel, sim));
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), (QStringList{"VER999", "PWR999"}), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(geometry(), QRect(100, 100, 306, 118), 10000);
        QPoint at = geometry().topLeft();
        const auto shows = [&](const char* name) {
            return same_pixels(screen_part(kPower.translated(at)), picture(name));
        };

        // Hover: the power button lights up and the message line changes.
        QTest::qWait(300);
        const QImage message_before = screen_part(kMessageLine.translated(at));
        QVERIFY(!shows("1_power_off_1"));
        pointer_to(at + kPower.center());
        QTRY_VERIFY_WITH_TIMEOUT(shows("1_power_off_1"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!same_pixels(screen_part(kMessageLine.translated(at)), message_before), 10000);

        // Power on: the box reports ready and the panel asks for its modes.
        xdotool({"click", "1"});
        const QStringList after_power = {"VER999", "PWR999", "PWR001", "ASP999", "SCN999", "FMT999",
                                         "FRZ999", "NPO999", "PAT999", "ZOM999"};
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), after_power, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(shows("1_power_on_0"), 10000);

        // Drag the window by its background.
        const QPoint grip = at + kBackground, moved(120, 80);
        pointer_to(grip);
        QTest::qWait(200);
        xdotool({"mousedown", "1"});
        for (int i = 1; i <= 8; ++i) {
            QTest::qWait(50);
            pointer_to(grip + moved * i / 8);
        }
        QTest::qWait(200);
        xdotool({"mouseup", "1"});
        QTRY_COMPARE_WITH_TIMEOUT(geometry().topLeft(), at + moved, 10000);
        at = geometry().topLeft();

        // Close with its own close button: it ends and keeps the new place.
        pointer_to(at + kClose.center());
        QTest::qWait(300);
        xdotool({"click", "1"});
        QVERIFY(process_->waitForFinished(20000));
        QVERIFY(process_->exitStatus() == QProcess::NormalExit && process_->exitCode() == 0);
        QCOMPARE(panel.settings(),
                 QStringLiteral("1,1,%1,%2,#FALSE#\r\n").arg(at.x() * 15).arg(at.y() * 15).toLatin1());
        QCOMPARE(sim.received(), after_power);
    }

    // The X server repeats a held key as release and press pairs. A panel
    // whose key handling waits for the box (its slow replies) gets them as
    // real ones; the box must still hear one press and one release.
    void a_key_held_while_the_box_answers_slowly_is_one_press()
    {
        SimProcess sim({"--reply-delay", "250"});
        PanelCopy panel;
        QVERIFY(show_panel(panel, sim));
        QTRY_COMPARE_WITH_TIMEOUT(sim.received().size(), 9, 20000);  // version, power and the modes
        xdotool({"windowfocus", "--sync", window_});
        const auto hold_space = [&](const QStringList& expected) {
            const int from = sim.received().size();
            xdotool({"keydown", "space"});
            QTest::qWait(2000);
            xdotool({"keyup", "space"});
            QTRY_COMPARE_WITH_TIMEOUT(sim.received().mid(from), expected, 15000);
            QTest::qWait(1500);  // and nothing after it
            QCOMPARE(sim.received().mid(from), expected);
        };
        // An arrow moves while held: one start, one stop.
        for (int i = 0; i < 8; ++i)  // power ... aspect, position
            xdotool({"key", "Tab"});
        xdotool({"key", "space"});  // its page opens, the focus on the up arrow
        QTest::qWait(500);
        hold_space({"MVU001", "MVU000"});
        // Power acts when the key comes up: once.
        xdotool({"key", "Escape"});  // back, the focus on position
        for (int i = 0; i < 7; ++i)
            xdotool({"key", "shift+Tab"});
        hold_space({"PWR000"});
    }
};

int main(int argc, char** argv)
{
    // An X server of our own, on the first free display, which it names
    // once it accepts clients.
    QProcess xvfb;
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-dpi", "96", "-nolisten", "tcp"});
    while (!xvfb.canReadLine() && xvfb.waitForReadyRead(30000)) {
    }
    const QByteArray display = ":" + xvfb.readLine().trimmed();
    if (display == ":") {
        std::printf("FAIL: Xvfb did not start\n");
        return 1;
    }
    ::setenv("DISPLAY", display.constData(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int status = 0;
    {
        QApplication app(argc, argv);
        TestInput test;
        status = QTest::qExec(&test, argc, argv);
    }
    xvfb.terminate();
    xvfb.waitForFinished(10000);
    return status;
}

#include "tst_input_e2e.moc"
