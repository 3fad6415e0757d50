// Dragging the magnifier by its view: the window follows the pointer (or
// the compositor moves it) and the halves follow the window.

#include "magnifier/frm_mag.h"

#include "magnifier/half_picture.h"
#include "magnifier/magnifier_geometry.h"
#include "magnifier/strip_button.h"
#include "platform/compositor_move.h"
#include "platform/desktop.h"

#include <QEvent>
#include <QTimer>

void FrmMag::pic_mag1_MouseDown()
{
    // The compositor moves the window; each move it reports re-places the
    // halves (moveEvent).
    if (compositor_move(*this, desktop_))
        return;
    const QPoint cursor = desktop_.cursor_pos();
    const QPoint offset = mag::drag_offset(x() * double(twips_x_), y() * double(twips_y_), cursor,
                                           twips_x_, twips_y_);
    drag_offset_ = offset;
    pic_mag1_->setCursor(drag_cursor_);
    pic_mag2_->setCursor(drag_cursor_);
    dragging_ = true;
    tim_move_->start();
}

void FrmMag::pic_mag1_MouseUp()
{
    pic_mag1_->unsetCursor();
    pic_mag2_->unsetCursor();
    dragging_ = false;
    tim_move_->stop();
}

void FrmMag::tim_move_Timer()
{
    if (!dragging_) {
        tim_move_->stop();
        return;
    }
    const QPoint corner = mag::dragged_corner(desktop_.cursor_pos(),
                                              drag_offset_,
                                              twips_x_, twips_y_);
    move(mag::to_pixels(corner.x(), twips_x_), mag::to_pixels(corner.y(), twips_y_));
    place_halves();
}

bool FrmMag::eventFilter(QObject* watched, QEvent* event)
{
    const bool on_picture = watched == pic_mag1_ || watched == pic_mag2_;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (on_picture) {
            pic_mag1_MouseDown();
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (on_picture) {
            pic_mag1_MouseUp();
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (on_picture || watched == lab_frame_ || watched == pic_mag_) {
            lab_frame_MouseMove();
        } else {
            for (int i = 0; i < 6; ++i)
                if (watched == img_ico_[i])
                    img_ico_MouseMove(i);
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmMag::hideEvent(QHideEvent* event)
{
    // A hidden window gets no mouse-up: do not leave a drag running.
    if (dragging_ || tim_move_->isActive())
        pic_mag1_MouseUp();
    QWidget::hideEvent(event);
}

