// qv742-screenshot: pictures of the panel's pages in both skins, for the
// README. Runs the real panel against a simulated box on a pseudo-terminal
// (qv742-sim, found beside this program) and renders each page to PNG, cut
// to the window's outline.

#include "app/system_parts.h"
#include "core/shared_state.h"
#include "magnifier/frm_mag.h"
#include "link/clock.h"
#include "link/system_serial_port.h"
#include "monitor/frm_rx.h"
#include "widgets/picture_button.h"
#include "panel/press_dispatch.h"
#include "platform/picture_store.h"
#include "platform/system_desktop.h"
#include "window/frm_main.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {

// The window as the user sees it: outside the outline is transparent.
QImage shot(QWidget& w, int scale)
{
    QImage image(w.size() * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (!w.mask().isEmpty())
        painter.setClipRegion(w.mask());
    w.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}

// A made-up desktop for the magnifier's picture: a wallpaper with the panel
// on it, so there is something to magnify.
class PictureDesktop : public SystemDesktop {
public:
    explicit PictureDesktop(QImage screen) : screen_(std::move(screen)) {}
    QPoint cursor_pos() override { return {410, 250}; }
    QSize screen_size() override { return screen_.size(); }
    int twips_per_pixel_x() override { return 15; }
    int twips_per_pixel_y() override { return 15; }
    QImage grab_screen() override { return screen_; }

private:
    QImage screen_;
};

QImage wallpaper_with(const QImage& panel)
{
    QImage screen(1024, 768, QImage::Format_RGB32);
    QPainter p(&screen);
    QLinearGradient sky(0, 0, 0, 768);
    sky.setColorAt(0, QColor(40, 90, 150));
    sky.setColorAt(1, QColor(170, 200, 230));
    p.fillRect(screen.rect(), sky);
    p.setPen(Qt::white);
    QFont font("DejaVu Sans");
    font.setPixelSize(22);
    p.setFont(font);
    p.drawText(QRect(40, 40, 900, 60), Qt::AlignLeft, "QV-742: the computer's picture on the television");
    p.drawImage(QPoint(300, 200), panel);
    return screen;
}

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString out = args.size() > 1 ? args[1] : QStringLiteral("docs/screenshots");
    const int scale = args.size() > 2 ? args[2].toInt() : 2;
    QDir().mkpath(out);

    QTemporaryDir dir;
    QProcess sim;
    sim.setProgram(QDir(QCoreApplication::applicationDirPath()).filePath("qv742-sim"));
    sim.setArguments({"--link", dir.filePath("com1"), "--ready-delay", "50"});
    sim.setStandardOutputFile(QProcess::nullDevice());
    sim.start();
    for (int i = 0; i < 200 && !QFileInfo::exists(dir.filePath("com1")); ++i)
        QThread::msleep(10);

    for (const char* skin : {"1", "2"}) {
        QFile settings(dir.filePath("QVR_742.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write(QByteArray(skin) + ",1,0,0,#FALSE#\r\n");
        settings.close();

        SystemParts parts;
        parts.com_devices.set_override(1, dir.filePath("com1"));
        PanelEnvironment env = parts.environment(
            QDir(QCoreApplication::applicationDirPath()).filePath("bmp"), settings.fileName());
        env.message_box = [](const QString& text, const QString& detail) {
            std::fprintf(stderr, "%s\n%s\n", qPrintable(text), qPrintable(detail));
        };
        FrmMain panel(env);
        panel.start_up();
        settle();
        const QString name = skin == QLatin1String("1") ? "wood" : "flower";
        const auto save = [&](const QString& page) {
            settle();
            shot(panel, scale).save(QDir(out).filePath(QStringLiteral("panel-%1-%2.png").arg(name, page)));
        };
        save("main");
        const std::pair<int, const char*> pages[] = {
            {3, "about"}, {10, "options"}, {15, "video"}, {11, "position"}, {7, "zoom"}};
        for (const auto& [button, page] : pages) {
            button_released(panel.panel(), button);
            save(page);
            button_released(panel.panel(), 16);
        }
        // The keyboard's focus mark, on the power button.
        panel.activateWindow();
        for (int i = 0; i < 100 && !panel.isActiveWindow(); ++i)
            settle();
        panel.elements().img_ico[26]->setFocus(Qt::OtherFocusReason);
        save("keyboard");
        panel.setFocus();
        if (skin == QLatin1String("1") && panel.monitor()) {
            settle();
            panel.monitor()->grab().save(QDir(out).filePath("monitor.png"));
        }
        panel.close();
    }
    // The magnifier, over a made-up desktop showing the wood panel.
    {
        const QImage panel(QDir(out).filePath("panel-wood-main.png"));
        PictureDesktop desktop(wallpaper_with(panel.scaled(panel.size() / scale)));
        SharedState st;
        PictureStore pictures;
        FrmMag magnifier(st, desktop, pictures);
        magnifier.open();
        settle();
        magnifier.img_ico_Click(1);  // x 2.0
        settle();
        shot(magnifier, scale).save(QDir(out).filePath("magnifier.png"));
        magnifier.close();
    }
    sim.terminate();
    sim.waitForFinished();
    return 0;
}
