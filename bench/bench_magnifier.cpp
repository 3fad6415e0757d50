// Magnifier: opening (capture plus both enlargements) on 1080p and 4k test
// screens, one drag tick, and the memory the open window holds at 4k, zoom 2.

#include "core/shared_state.h"
#include "fake_desktop.h"
#include "magnifier/frm_mag.h"
#include "magnifier/half_picture.h"
#include "platform/picture_store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// A grab hands back a fresh picture each time, as a real one does.
class CopyingDesktop : public FakeDesktop {
public:
    QImage grab_screen() override
    {
        ++grabs;
        return screen_image.copy();
    }
};

QImage test_screen(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(20, 60, 200));
    g.setColorAt(1, QColor(240, 200, 40));
    p.fillRect(image.rect(), g);
    p.setPen(Qt::black);
    for (int x = 0; x < w; x += 64)
        p.drawLine(x, 0, x, h);
    for (int y = 0; y < h; y += 64)
        p.drawLine(0, y, w, y);
    p.end();
    return image;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double rss_mb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

void report(const char* name, double value, const char* unit)
{
    std::printf("%s: %.4g %s\n", name, value, unit);
    std::fflush(stdout);
}

struct Rig {
    Rig(int w, int h)
    {
        desktop.screen = QSize(w, h);
        desktop.screen_image = test_screen(w, h);
        desktop.cursor = QPoint(w / 2, h / 2);
    }
    SharedState state;
    CopyingDesktop desktop;
    PictureStore pictures;
};

double open_ms(Rig& rig, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        FrmMag mag(rig.state, rig.desktop, rig.pictures);
        QElapsedTimer t;
        t.start();
        mag.open();
        times.push_back(t.nsecsElapsed() / 1e6);
        mag.close();
        QCoreApplication::processEvents();
    }
    return median(times);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    {
        Rig rig(1920, 1080);
        open_ms(rig, 2);   // warm-up: first-use costs of the toolkit
        report("mag_open_ms_1080p", open_ms(rig, 9), "ms");
    }

    {
        Rig rig(3840, 2160);
        const double before = rss_mb();
        auto mag = std::make_unique<FrmMag>(rig.state, rig.desktop, rig.pictures);
        mag->open();
        mag->img_ico_Click(1);   // zoom 2.0
        QCoreApplication::processEvents();
        const double after = rss_mb();

        report("mag_open_ms_4k", open_ms(rig, 5), "ms");

        // One drag tick: read the pointer, move the window, move two halves.
        QCoreApplication::processEvents();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(mag->pic_mag1(), &press);
        const QPoint start = rig.desktop.cursor;
        const int ticks = 20000;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < ticks; ++i) {
            rig.desktop.cursor = start + QPoint(i % 200, (i / 2) % 150);
            mag->tim_move_Timer();
        }
        report("mag_drag_tick_us", t.nsecsElapsed() / 1e3 / ticks, "us");
        report("mag_rss_mb_4k", after - before, "MB");
    }
    return 0;
}
