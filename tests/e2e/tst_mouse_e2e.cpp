// End to end with a real mouse: the panel program on an X server of its own
// (Xvfb), driven by xdotool, against qv742-sim. This test process joins the
// same display to look at the screen. Skipped (exit code 77) when Xvfb or
// xdotool is missing.

#include "panel_copy.h"
#include "sim_process.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kSkipped = 77;

// Top-left corners of the 39 x 27 buttons on the 306 x 118 panel, in pixels.
const QPoint kPower(33, 43);
const QPoint kAspect(33, 70);
const QPoint kVideo(231, 70);  // the return button takes its place on a page
const QSize kButton(39, 27);
// The frame of the COM buttons covers the two bottom rows of video and return.
const QSize kVideoShown(39, 25);
const QRect kClose(276, 28, 22, 19);
const QRect kMessageLine(181, 3, 106, 14);  // lab_msg: 2715, 45, 1590, 210 twips
const QPoint kBackground(10, 100);

// An X server of our own, on the first free display, which it writes to a
// pipe once it accepts clients.
class Xvfb {
public:
    QByteArray start()
    {
        int fds[2];
        if (::pipe(fds) != 0 || (pid_ = ::fork()) < 0)
            return {};
        if (pid_ == 0) {
            ::close(fds[0]);
            const QByteArray fd = QByteArray::number(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.constData(), "-screen", "0", "1024x768x24", "-dpi", "96",
                     "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        QByteArray number;
        char buf[16];
        pollfd p{fds[0], POLLIN, 0};
        ssize_t n = 0;
        while (!number.contains('\n') && ::poll(&p, 1, 30000) > 0 && (n = ::read(fds[0], buf, sizeof buf)) > 0)
            number.append(buf, n);
        ::close(fds[0]);
        return number.contains('\n') ? ":" + number.trimmed() : QByteArray();
    }
    ~Xvfb()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }

private:
    pid_t pid_ = -1;
};

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

// Equal where `a` is shown; `b` may be larger (a picture partly covered).
bool same_pixels(const QImage& a, const QImage& b)
{
    if (a.width() > b.width() || a.height() > b.height())
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

class TestMouse : public QObject {
    Q_OBJECT

    QString window_;

    QRect geometry()
    {
        const QString shell = xdotool({"getwindowgeometry", "--shell", window_});
        const auto field = [&](const char* name) {
            const auto m = QRegularExpression(QStringLiteral("^%1=(-?\\d+)$").arg(QLatin1String(name)),
                                              QRegularExpression::MultilineOption)
                               .match(shell);
            return m.hasMatch() ? m.captured(1).toInt() : -1;
        };
        return QRect(field("X"), field("Y"), field("WIDTH"), field("HEIGHT"));
    }

private slots:
    void a_session_with_the_mouse()
    {
        // The outline must have the panel where the drag grabs it.
        const QImage outline(QFileInfo(QStringLiteral(QV742_PANEL)).absolutePath() + "/bmp/blue_panel.bmp");
        QVERIFY(outline.pixelColor(kBackground) != QColor(Qt::white));

        SimProcess sim({"--off"});
        QVERIFY(sim.ready());
        PanelCopy panel;
        panel.write_settings("1,1,1500,1500,#FALSE#\r\n");  // at 100, 100
        QProcess& process = panel.start(sim.link(), QStringLiteral("xcb"));
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), (QStringList{"VER999", "PWR999"}), 20000);

        QTRY_VERIFY_WITH_TIMEOUT(
            !(window_ = xdotool({"search", "--onlyvisible", "--name", "^Scan Converter$"}).section('\n', 0, 0))
                 .isEmpty(),
            20000);
        QTRY_COMPARE_WITH_TIMEOUT(geometry(), QRect(100, 100, 306, 118), 10000);
        QPoint at = geometry().topLeft();
        const auto point_at = [&](QPoint button) {
            pointer_to(at + button + QPoint(kButton.width(), kButton.height()) / 2);
        };
        const auto shows = [&](QPoint button, const char* name, QSize size = kButton) {
            return same_pixels(screen_part(QRect(at + button, size)), picture(name));
        };

        // Hover: the power button lights up and the message line changes.
        QTest::qWait(300);
        const QImage message_before = screen_part(kMessageLine.translated(at));
        QVERIFY(!shows(kPower, "1_power_off_1"));
        point_at(kPower);
        QTRY_VERIFY_WITH_TIMEOUT(shows(kPower, "1_power_off_1"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!same_pixels(screen_part(kMessageLine.translated(at)), message_before), 10000);

        // Power on: the box reports ready and the panel asks for its modes.
        xdotool({"click", "1"});
        const QStringList after_power = {"VER999", "PWR999", "PWR001", "ASP999", "SCN999", "FMT999",
                                         "FRZ999", "NPO999", "PAT999", "ZOM999"};
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), after_power, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(shows(kPower, "1_power_on_0"), 10000);

        // Aspect: full to pan and scan.
        point_at(kAspect);
        QTRY_VERIFY_WITH_TIMEOUT(shows(kAspect, "1_aspect_full_1"), 10000);
        xdotool({"click", "1"});
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), after_power + QStringList{"ASP001"}, 20000);

        // The video page asks for the levels; its return button, in the
        // same place, brings the main page back and sends nothing.
        point_at(kVideo);
        QTRY_VERIFY_WITH_TIMEOUT(shows(kVideo, "1_v_set_1", kVideoShown), 10000);
        xdotool({"click", "1"});
        const QStringList after_video =
            after_power + QStringList{"ASP001", "CON999", "BRI999", "SAT999", "FLK999", "SHA999"};
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), after_video, 20000);
        point_at(kVideo + QPoint(1, 0));  // the return button lights up under it
        QTRY_VERIFY_WITH_TIMEOUT(shows(kVideo, "1_return_1", kVideoShown), 10000);
        xdotool({"click", "1"});
        point_at(kVideo);
        QTRY_VERIFY_WITH_TIMEOUT(shows(kVideo, "1_v_set_1", kVideoShown), 10000);

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
        QVERIFY(process.waitForFinished(20000));
        QVERIFY(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0);
        QCOMPARE(panel.settings(),
                 QStringLiteral("1,1,%1,%2,#FALSE#\r\n").arg(at.x() * 15).arg(at.y() * 15).toLatin1());
        QCOMPARE(sim.received(), after_video);
    }
};

int main(int argc, char** argv)
{
    for (const char* tool : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            std::printf("SKIP: %s is not installed (scripts/lib/common.sh installs it)\n", tool);
            return kSkipped;
        }
    }
    Xvfb x;
    const QByteArray display = x.start();
    if (display.isEmpty()) {
        std::printf("FAIL: Xvfb did not start\n");
        return 1;
    }
    ::setenv("DISPLAY", display.constData(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int status = 0;
    {
        QApplication app(argc, argv);
        TestMouse test;
        status = QTest::qExec(&test, argc, argv);
    }
    return status;
}

#include "tst_mouse_e2e.moc"
