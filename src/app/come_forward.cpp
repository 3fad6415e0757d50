#include "app/come_forward.h"

#include "magnifier/frm_mag.h"
#include "window/frm_main.h"

#include <QGuiApplication>

namespace {

// Qt's Wayland platform activates a window with the token in the
// environment, and then forgets it. On X11 the desktop judges the request
// by the window's last user time instead.
void use_token(const QString& token)
{
    if (!token.isEmpty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv("XDG_ACTIVATION_TOKEN", token.toLatin1());
}

void restore_and_raise(QWidget& w)
{
    if (w.isMinimized() || !w.isVisible()) {
        w.setWindowState(w.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        w.show();
    }
    w.raise();
    w.activateWindow();
}

}  // namespace

QByteArray desktop_activation_token()
{
    const QByteArray wayland = qgetenv("XDG_ACTIVATION_TOKEN");
    return wayland.isEmpty() ? qgetenv("DESKTOP_STARTUP_ID") : wayland;
}

void come_forward(FrmMain& panel, const QString& token)
{
    use_token(token);
    if (FrmMag* magnifier = panel.magnifier()) {
        // Hidden for a moment while it takes a new snapshot: it shows
        // itself again.
        if (magnifier->isVisible() || magnifier->isMinimized())
            restore_and_raise(*magnifier);
        return;
    }
    restore_and_raise(panel);
}
