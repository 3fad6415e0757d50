#include "platform/system_desktop.h"

#ifdef QV742_KWIN_SCREENSHOT
#include "platform/kwin_screenshot.h"
#endif
#ifdef QV742_SCREENSHOT_PORTAL
#include "platform/screenshot_portal.h"
#endif

#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cmath>

namespace {

QScreen* screen()
{
    return QGuiApplication::primaryScreen();
}

// A portal that does not answer within this asks the user (GNOME's
// permission dialog): the request stays open while the user may answer.
constexpr int kQuickAnswerMs = 1500;
// GNOME's portal waits for its dialog as long as a D-Bus call may take
// (25 s), then drops the request without an answer, while the dialog stays
// up: an answer given after that is lost.
constexpr int kQuestionLostMs = 26000;

int twips_per_pixel(double dpi)
{
    if (dpi <= 0)
        return 15;
    return std::max(1, static_cast<int>(std::lround(1440.0 / dpi)));
}

}  // namespace

SystemDesktop::SystemDesktop() = default;
SystemDesktop::~SystemDesktop() = default;

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
        image = desktop_picture();
        if (looks_like_refused_grab(image))
            return {};
    }
    // Work in screen (logical) pixels whatever the device pixel ratio.
    const QSize size = screen_size();
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(1.0);
    return image.convertToFormat(QImage::Format_RGB32);
}

// KWin's own interface first: Plasma's portal refuses a request that does
// not ask the user each time. Then the portal.
QImage SystemDesktop::desktop_picture()
{
    problem_ = CaptureProblem::unavailable;
#ifdef QV742_KWIN_SCREENSHOT
    if (kwin_screenshot_offered()) {
        const KWinShot shot = kwin_screenshot(screen()->geometry());
        if (shot.outcome == KWinShot::picture)
            return shot.image;
        if (shot.outcome == KWinShot::not_permitted) {
            problem_ = CaptureProblem::needs_entry;
            return {};
        }
    }
#endif
#ifdef QV742_SCREENSHOT_PORTAL
    if (pending_) {
        // One question at a time: the dialog is still up.
        problem_ = CaptureProblem::waiting_for_user;
        return {};
    }
    auto request = std::make_unique<PortalScreenshot>();
    if (!request->start())
        return {};
    if (!request->wait(kQuickAnswerMs)) {
        problem_ = CaptureProblem::waiting_for_user;
        QObject::connect(request.get(), &PortalScreenshot::finished, request.get(), [this] { portal_answered(); });
        QTimer::singleShot(kQuestionLostMs, request.get(), [this, asked = request.get()] {
            if (pending_.get() == asked)
                question_lost();
        });
        pending_ = std::move(request);
        return {};
    }
    if (request->response() != 0) {
        problem_ = CaptureProblem::refused;
        return {};
    }
    return screen_part_of_desktop(request->take_picture(), screen()->virtualGeometry(), screen()->geometry());
#else
    return {};
#endif
}

// Whoever waits is told; the next grab asks again.
void SystemDesktop::question_lost()
{
    pending_.release()->deleteLater();
    problem_ = CaptureProblem::unanswered;
    tell_waiting();
}

void SystemDesktop::tell_waiting()
{
    const auto waiting = std::move(answered_);
    answered_.clear();
    for (const auto& answered : waiting)
        answered();
}

void SystemDesktop::when_capture_answered(std::function<void()> answered)
{
    if (pending_)
        answered_.push_back(std::move(answered));
}

// The user answered: the picture taken then shows the dialog going and
// whatever waited for it; whoever waited grabs again, which the desktop now
// answers at once.
void SystemDesktop::portal_answered()
{
#ifdef QV742_SCREENSHOT_PORTAL
    auto* done = static_cast<PortalScreenshot*>(pending_.release());
    done->take_picture();
    done->deleteLater();
#endif
    problem_ = CaptureProblem::unavailable;
    tell_waiting();
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
