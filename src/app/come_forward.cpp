#include "app/come_forward.h"

#include "magnifier/frm_mag.h"
#include "window/frm_main.h"

namespace {

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

void come_forward(FrmMain& panel)
{
    if (FrmMag* magnifier = panel.magnifier()) {
        // Hidden for a moment while it takes a new snapshot: it shows
        // itself again.
        if (magnifier->isVisible() || magnifier->isMinimized())
            restore_and_raise(*magnifier);
        return;
    }
    restore_and_raise(panel);
}
