// The magnifier's view: the snapshot, its enlarged halves, where they lie
// for the window's place, and the window's layout.

#include "magnifier/frm_mag.h"

#include "core/shared_state.h"
#include "magnifier/capture_message.h"
#include "magnifier/half_picture.h"
#include "magnifier/magnifier_geometry.h"
#include "magnifier/snapshot.h"
#include "magnifier/strip_button.h"
#include "platform/desktop.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QPointer>
#include <QTimer>

namespace {

// The desktop's dialog fades out after the user's answer: a picture taken at
// once would show it going, and GNOME's shell is still ending its dialog
// when the window comes back from the grab.
constexpr int kAfterAnswerMs = 400;

}  // namespace

void FrmMag::capture_snapshot()
{
    twips_x_ = qMax(1, desktop_.twips_per_pixel_x());
    twips_y_ = qMax(1, desktop_.twips_per_pixel_y());
    const QSize screen = desktop_.screen_size();
    screen_width_ = screen.width() * twips_x_;
    screen_height_ = screen.height() * twips_y_;
    const int W = mag::to_pixels(screen_width_, twips_x_);
    const int H = mag::to_pixels(screen_height_, twips_y_);

    // The old snapshot goes first: a refused grab must not leave it on
    // show, and two need not be held at once.
    snapshot_ = QImage();
    snapshot_ = screen_snapshot(desktop_.grab_screen(), QSize(W, H));
    if (!snapshot_.isNull())
        return;
    const CaptureProblem problem = desktop_.capture_problem();
    capture_message_->setText(::capture_message(problem, desktop_kind(qgetenv("XDG_CURRENT_DESKTOP"))));
    // The desktop asks the user first: the view says so, and the picture is
    // taken as soon as the user has answered (a refresh, as by its button).
    if (problem == CaptureProblem::waiting_for_user && !awaiting_answer_) {
        awaiting_answer_ = true;
        desktop_.when_capture_answered([self = QPointer<FrmMag>(this)] {
            if (!self)
                return;
            self->awaiting_answer_ = false;
            if (self->desktop_.capture_problem() == CaptureProblem::unanswered) {
                self->capture_message_->setText(::capture_message(CaptureProblem::unanswered,
                                                                  desktop_kind(qgetenv("XDG_CURRENT_DESKTOP"))));
                return;
            }
            QTimer::singleShot(kAfterAnswerMs, self, [self] {
                if (self && self->isVisible() && !self->busy_ && !self->closing_)
                    self->refresh();
            });
        });
    }
}

void FrmMag::draw_magnified()
{
    ++redraw_count_;
    pic_mag1_->hide();
    pic_mag2_->hide();
    const QSize size = mag::half_widget_size(screen_width_, screen_height_, zoom_, twips_x_, twips_y_);
    pic_mag1_->resize(size);
    pic_mag2_->resize(size);
    pic_mag1_->show_part({}, {}, {});
    pic_mag2_->show_part({}, {}, {});

    if (snapshot_.isNull()) {
        capture_message_->show();
        capture_message_->raise();
        return;
    }
    capture_message_->hide();

    const mag::HalfRects rects = mag::half_rects(snapshot_.width(), snapshot_.height(), zoom_);
    pic_mag1_->show_part(snapshot_, rects.left_source, rects.enlarged);
    pic_mag2_->show_part(snapshot_, rects.right_source, rects.enlarged);
    pic_mag1_->show();
    pic_mag2_->show();
    place_halves();
}

// A native Wayland window never learns where it is: it is taken to be where
// it was opened, which is where a compositor puts a new window it centres.
QPoint FrmMag::window_place() const
{
    return desktop_.positions_known() ? pos() : opened_at_;
}

void FrmMag::place_halves()
{
    const QPoint at = window_place();
    const mag::Placement twips = mag::place_halves(
        at.x() * double(twips_x_), at.y() * double(twips_y_), width() * double(twips_x_),
        height() * double(twips_y_), zoom_, screen_width_);
    const mag::PlacementPixels px = mag::placement_pixels(twips, twips_x_, twips_y_, pic_mag1_->width());
    pic_mag1_->move(px.first);
    pic_mag2_->move(px.second);
}

void FrmMag::layout_magnifier()
{
    mag::LayoutInput in;
    in.screen_width = screen_width_;
    in.screen_height = screen_height_;
    in.twips_per_pixel_x = twips_x_;
    in.panel_scale = state_.panel_scale;
    in.small_view = small_view_;
    in.strip_height = strip_height_;
    in.refresh_width = static_cast<double>(img_ico_[4]->width()) * twips_x_;
    in.close_width = static_cast<double>(img_ico_[5]->width()) * twips_x_;
    const mag::Layout lo = mag::layout_magnifier(in);
    view_ratio_ = lo.view_ratio;

    const auto px_x = [this](double twips) { return mag::to_pixels(twips, twips_x_); };
    const auto px_y = [this](double twips) { return mag::to_pixels(twips, twips_y_); };

    // The top-left corner stays; the window grows or shrinks to the right
    // and downwards. The halves stay where they are until the next move.
    // A fixed size keeps a tiling compositor from tiling or resizing it.
    setFixedSize(px_x(lo.window_width), px_y(lo.window_height));
    pic_mag_->setGeometry(px_x(lo.view_left), px_y(lo.view_top), px_x(lo.view_width), px_y(lo.view_height));
    capture_message_->setGeometry(pic_mag_->rect());

    sha_frame_ = QRect(0, 0, px_x(lo.frame_width), px_y(lo.frame_height));
    lab_frame_->setGeometry(0, px_y(lo.strip_top), px_x(lo.strip_width), px_y(strip_height_));
    update();

    const int button_top = px_y(lo.button_top);
    for (StripButton* button : img_ico_)
        button->move(button->x(), button_top);
    img_ico_[5]->move(px_x(lo.close_left), button_top);
    img_ico_[4]->move(px_x(lo.refresh_left), button_top);
}

void FrmMag::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (desktop_.compositor_moves_windows() && desktop_.positions_known() && pic_mag1_->isVisible())
        place_halves();
}

// A new snapshot: the window hidden while the screen is grabbed, so the
// grab shows what lies under it.
void FrmMag::refresh()
{
    QPointer<FrmMag> self(this);
    busy_ = true;
    hide();
    // Let the desktop repaint what the window covered before the grab.
    QCoreApplication::processEvents();
    if (!self)
        return;
    if (closing_) {
        busy_ = false;
        return;
    }
    capture_snapshot();
    if (!self)
        return;
    if (closing_) {
        busy_ = false;
        return;
    }
    draw_magnified();
    show();
    QCoreApplication::processEvents();
    if (self)
        busy_ = false;
}
