#pragma once
// What the GNOME and KDE Plasma tests share: the session's files, the
// desktop pattern, the simulated box and the panel started as a user
// starts it, and the checks of what the screen shows.

#include "../sim_process.h"

#include <QFile>
#include <QRegularExpression>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTest>

namespace desktop_test {

inline const QString kSession = QStringLiteral("/tmp/session");
inline const QString kPanelTitle = QStringLiteral("Scan Converter");
inline const QString kMagnifierTitle = QStringLiteral("QV-742");
// Panel points, in pixels from its corner: the background it is dragged
// by, and the centres of the magnifier, tray and close buttons.
inline const QPoint kGrip(10, 100), kMagnifyButton(172, 56), kCloseButton(287, 37);
constexpr int kBlock = 32;  // the desktop pattern's squares

// Every square of the pattern has a colour of its own, so a pixel tells
// where on the desktop it comes from.
inline QRgb pattern_colour(int x, int y)
{
    const int bx = x / kBlock, by = y / kBlock;
    return qRgb(6 * bx, 9 * by, (bx + by) % 2 ? 192 : 128);  // up to 1344 x 928
}

inline QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, pattern_colour(x, y));
    return image;
}

// Whether `shot` shows, at the centre of `r`, the square of the pattern
// that lies under that centre, give or take one.
inline bool shows_what_lies_under(const QImage& shot, const QRect& r)
{
    const QRgb c = shot.pixel(r.center());
    const int bx = (qRed(c) + 3) / 6, by = (qGreen(c) + 4) / 9;
    return pattern_colour(bx * kBlock, by * kBlock) == (c | 0xFF000000u)
        && std::abs(bx - r.center().x() / kBlock) <= 1 && std::abs(by - r.center().y() / kBlock) <= 1;
}

// Pixels of the panel at `at` that show the pattern outside its outline,
// and that hide it inside, as "outside hidden/all inside painted/all".
inline QString shape_on(const QImage& shot, QPoint at, const QString& panel_folder)
{
    const QImage outline(panel_folder + "/bmp/blue_panel.bmp");
    int outside = 0, hidden = 0, inside = 0, painted = 0;
    for (int y = 0; y < outline.height(); ++y)
        for (int x = 0; x < outline.width(); ++x) {
            const QPoint p = at + QPoint(x, y);
            const bool shows_desktop = shot.pixel(p) == pattern_colour(p.x(), p.y());
            if ((outline.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                ++outside, hidden += !shows_desktop;
            else
                ++inside, painted += !shows_desktop;
        }
    return QStringLiteral("outside %1/%2 inside %3/%4").arg(hidden).arg(outside).arg(painted).arg(inside);
}

inline bool shape_holds(const QString& shape)
{
    const QStringList n = shape.split(QRegularExpression("[ /]"));
    return n.size() == 6 && n[1].toInt() == 0 && n[2].toInt() > 20 && n[4].toInt() > n[5].toInt() * 95 / 100;
}

inline QByteArray run(const QString& program, const QStringList& args, int timeout_ms = 20000)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(timeout_ms) ? p.readAllStandardOutput() : QByteArray();
}

inline QString panel_program() { return qEnvironmentVariable("QV742_PANEL"); }
inline QString settings_path() { return QFileInfo(panel_program()).absolutePath() + "/QVR_742.ini"; }

inline QByteArray read_settings()
{
    QFile f(settings_path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool write_settings(const QByteArray& s)
{
    QFile f(settings_path());
    return f.open(QIODevice::WriteOnly) && f.write(s) == s.size();
}

// The simulated box on COM1 and the panel as a user starts it: its own
// platform choice, unless `platform` names one.
struct PanelRun {
    SimProcess sim{{}, kSession + "/com1"};
    QProcess panel;

    bool start(const QString& platform)
    {
        panel.setProcessEnvironment(environment(platform));
        panel.setProcessChannelMode(QProcess::ForwardedChannels);
        panel.start(panel_program(), {"--com1", sim.link()});
        return sim.ready() && panel.waitForStarted();
    }

    static QProcessEnvironment environment(const QString& platform)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        if (!platform.isEmpty())
            env.insert("QT_QPA_PLATFORM", platform);
        return env;
    }

    bool box_asked(const QString& what) { return sim.received().contains(what); }

    ~PanelRun()
    {
        if (panel.state() != QProcess::NotRunning) {
            panel.kill();
            panel.waitForFinished(5000);
        }
    }
};

}  // namespace desktop_test
