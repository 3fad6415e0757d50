// The magnifier from the keyboard: Escape closes it as its close button
// does, the arrows move it as a short drag does, the view following.

#include "magnifier/frm_mag.h"

#include <QApplication>
#include <QKeyEvent>

namespace {
constexpr int kStep = 5;  // pixels; with Shift one pixel
}  // namespace

void FrmMag::keyPressEvent(QKeyEvent* event)
{
    const int step = event->modifiers() & Qt::ShiftModifier ? 1 : kStep;
    switch (event->key()) {
    case Qt::Key_Escape:
        if (!event->isAutoRepeat())
            img_ico_Click(5);
        break;
    case Qt::Key_Left: nudge_view(-step, 0); break;
    case Qt::Key_Right: nudge_view(step, 0); break;
    case Qt::Key_Up: nudge_view(0, -step); break;
    case Qt::Key_Down: nudge_view(0, step); break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

// What a drag tick does: the window moves, the halves are placed so the view
// shows what lies under it.
void FrmMag::nudge_view(int dx, int dy)
{
    if (busy_ || closing_)
        return;
    move(x() + dx, y() + dy);
    place_halves();
}

// The panel hid itself to open the magnifier: the keyboard goes with the
// window on show.
void FrmMag::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    QMetaObject::invokeMethod(
        this, [this] {
            const QWidget* active = QApplication::activeWindow();
            if (isVisible() && (!active || !active->isVisible()))
                activateWindow();
        },
        Qt::QueuedConnection);
}
