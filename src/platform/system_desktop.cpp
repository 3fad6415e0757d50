#include "platform/system_desktop.h"

#include "platform/screenshot_portal.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <cmath>

namespace {

QScreen* screen()
{
    return QGuiApplication::primaryScreen();
}

// A portal may ask the user for permission the first time.
constexpr int kPortalTimeoutMs = 20000;

int twips_per_pixel(double dpi)
{
    if (dpi <= 0)
        return 15;
    return std::max(1, static_cast<int>(std::lround(1440.0 / dpi)));
}

}  // namespace

QPoint SystemDesktop::cursor_pos()
{
    return QCursor::pos();
}

QSize SystemDesktop::screen_size()
{
    return screen() ? screen()->geometry().size() : QSize(1024, 768);
}

int SystemDesktop::twips_per_pixel_x()
{
    return twips_per_pixel(screen() ? screen()->logicalDotsPerInchX() : 96);
}

int SystemDesktop::twips_per_pixel_y()
{
    return twips_per_pixel(screen() ? screen()->logicalDotsPerInchY() : 96);
}

QImage SystemDesktop::grab_screen()
{
    if (!screen())
        return {};
    QImage image = screen()->grabWindow(0).toImage();
    if (looks_like_refused_grab(image)) {
#ifdef QV742_SCREENSHOT_PORTAL
        image = screen_part_of_desktop(portal_screenshot(kPortalTimeoutMs), screen()->virtualGeometry(),
                                       screen()->geometry());
        if (looks_like_refused_grab(image))
            return {};
#else
        return {};
#endif
    }
    // Work in screen (logical) pixels whatever the device pixel ratio.
    const QSize size = screen_size();
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(1.0);
    return image.convertToFormat(QImage::Format_RGB32);
}

bool SystemDesktop::tray_available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

// XWayland names its screens XWAYLAND0, XWAYLAND1, ...
WindowSystem SystemDesktop::window_system()
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return WindowSystem::wayland;
    if (platform == QLatin1String("xcb") && screen() && screen()->name().startsWith(QLatin1String("XWAYLAND")))
        return WindowSystem::xwayland;
    return WindowSystem::x11;
}

bool looks_like_refused_grab(const QImage& image)
{
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return true;
    // Sample a grid: a real desktop is never one single black colour.
    const QRgb first = image.pixel(0, 0);
    if (qRed(first) | qGreen(first) | qBlue(first))
        return false;
    const int step_x = std::max(1, image.width() / 32);
    const int step_y = std::max(1, image.height() / 32);
    for (int y = 0; y < image.height(); y += step_y)
        for (int x = 0; x < image.width(); x += step_x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (first & 0xFFFFFF))
                return false;
    return true;
}
