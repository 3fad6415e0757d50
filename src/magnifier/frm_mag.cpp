#include "magnifier/frm_mag.h"

#include "core/shared_state.h"
#include "magnifier/drag_pointer.h"
#include "magnifier/half_picture.h"
#include "magnifier/magnifier_geometry.h"
#include "magnifier/snapshot.h"
#include "magnifier/strip_button.h"
#include "platform/compositor_move.h"
#include "platform/desktop.h"
#include "platform/picture_store.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMoveEvent>
#include <QPainter>
#include <QPointer>
#include <QPaintEvent>
#include <QRegion>
#include <QTimer>

namespace {

const QColor kWindowColour(192, 192, 192);
const QColor kViewColour(128, 0, 128);
const QColor kStripColour(215, 161, 0);
const QColor kFrameColour(255, 0, 0);
constexpr int kFramePixels = 3;

struct ButtonDesign {
    const char* tooltip;
    const char* picture;   // name without the _0/_1 suffix
    QSize size;            // pixels, the picture's size
    const char* name;      // what assistive technology calls it
};

// The first four are toggles in pairs; the last two only act.
const ButtonDesign kButtons[6] = {
    {"x 1.5", "m_15", {28, 17}, "Zoom 1.5"},
    {"x 2.0", "m_20", {28, 17}, "Zoom 2.0"},
    {"small", "m_small", {28, 17}, "Small view"},
    {"big", "m_big", {28, 17}, "Big view"},
    {"refresh", "m_refresh", {29, 17}, "Refresh"},
    {"close", "m_close", {19, 18}, "Close magnifier"},
};

QString picture(int index, bool on)
{
    return QString::fromLatin1(kButtons[index].picture) + (on ? QLatin1String("_1") : QLatin1String("_0"));
}

void fill_with(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace

FrmMag::FrmMag(SharedState& state, Desktop& desktop, PictureStore& pictures, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      desktop_(desktop),
      pictures_(pictures),
      drag_cursor_(drag_pointer(pictures))
{
    setWindowTitle(QStringLiteral("QV-742"));
    fill_with(this, kWindowColour);
    resize(220, 167);   // client area 3300 x 2505 twips until the layout runs

    // The strip and the outline are painted by the window itself, the
    // outline over the strip's ends; no widget lies over the view, so the
    // toolkit can scroll the halves when they move instead of repainting.
    lab_frame_ = new QWidget(this);
    lab_frame_->setObjectName(QStringLiteral("lab_frame"));
    lab_frame_->setMouseTracking(true);
    lab_frame_->installEventFilter(this);

    pic_mag_ = new QWidget(this);
    pic_mag_->setObjectName(QStringLiteral("pic_mag"));
    fill_with(pic_mag_, kViewColour);
    pic_mag_->setMouseTracking(true);
    pic_mag_->installEventFilter(this);

    pic_mag1_ = new HalfPicture(pic_mag_);
    pic_mag1_->setObjectName(QStringLiteral("pic_mag1"));
    pic_mag2_ = new HalfPicture(pic_mag_);
    pic_mag2_->setObjectName(QStringLiteral("pic_mag2"));
    for (HalfPicture* half : {pic_mag1_, pic_mag2_}) {
        half->installEventFilter(this);
        half->hide();
    }

    capture_message_ = new QLabel(pic_mag_);
    capture_message_->setObjectName(QStringLiteral("capture_message"));
    capture_message_->setText(
        tr("<b>Screen capture is not available on this desktop</b>"
           "<br>Allow this program to capture the screen, then press refresh."));
    capture_message_->setAlignment(Qt::AlignCenter);
    capture_message_->setWordWrap(true);
    capture_message_->setMargin(4);
    capture_message_->setStyleSheet(QStringLiteral("color: white;"));
    capture_message_->setAttribute(Qt::WA_TransparentForMouseEvents);
    capture_message_->hide();

    for (int i = 0; i < 6; ++i) {
        img_ico_[i] = new StripButton(pictures_, kButtons[i].size,
                                      QString::fromLatin1(kButtons[i].tooltip), this);
        img_ico_[i]->setObjectName(QStringLiteral("img_ico_%1").arg(i));
        img_ico_[i]->setAccessibleName(QString::fromLatin1(kButtons[i].name));
        img_ico_[i]->set_toggle(i < 4);
        img_ico_[i]->installEventFilter(this);
        connect(img_ico_[i], &StripButton::clicked, this, [this, i] { img_ico_Click(i); });
    }
    show_opening_pictures();

    // Runs only while a drag is on: no wake-ups while the window sits still.
    tim_move_ = new QTimer(this);
    tim_move_->setInterval(1);
    tim_move_->setTimerType(Qt::PreciseTimer);
    connect(tim_move_, &QTimer::timeout, this, &FrmMag::tim_move_Timer);

    // The window holds the keyboard until Tab reaches a button, so no button
    // shows a focus mark the mouse user did not ask for.
    setFocus(Qt::OtherFocusReason);
}

FrmMag::~FrmMag() = default;

bool FrmMag::move_timer_active() const
{
    return tim_move_->isActive();
}

StripButton* FrmMag::img_ico(int index) const
{
    return index >= 0 && index < 6 ? img_ico_[index] : nullptr;
}

QWidget* FrmMag::pic_mag() const
{
    return pic_mag_;
}

void FrmMag::show_opening_pictures()
{
    img_ico_[0]->show_picture(picture(0, true));
    img_ico_[1]->show_picture(picture(1, false));
    img_ico_[2]->show_picture(picture(2, true));
    img_ico_[3]->show_picture(picture(3, false));
    img_ico_[4]->show_picture(picture(4, false));
    img_ico_[5]->show_picture(picture(5, false));
}

void FrmMag::open()
{
    pic_mag1_MouseUp();
    state_.dragging = false;
    zoom_ = 1.5f;
    small_view_ = true;
    hover_icon_ = 99;
    closing_ = false;
    closed_sent_ = false;
    show_opening_pictures();

    // The window stays hidden until after the capture, so it is never in
    // its own snapshot. Stacking flags are changed while hidden, too.
    hide();
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != state_.win_on_top)
        setWindowFlag(Qt::WindowStaysOnTopHint, state_.win_on_top);

    // Pending events run before the capture and before the new geometry:
    // the desktop gets to repaint what the panel covered, and a late
    // notification of an earlier size cannot undo the layout below.
    QPointer<FrmMag> self(this);
    busy_ = true;
    QCoreApplication::processEvents();
    if (!self)
        return;
    busy_ = false;
    if (closing_)
        return;

    capture_snapshot();
    if (!self || closing_)
        return;  // closed while the desktop's portal was asked for the picture

    strip_height_ = 285.0 * state_.panel_scale;

    double widths[4];
    for (int i = 0; i < 4; ++i)
        widths[i] = static_cast<double>(img_ico_[i]->width()) * twips_x_;
    const mag::ToggleLefts lefts = mag::toggle_lefts(30, widths);
    for (int i = 0; i < 4; ++i)
        img_ico_[i]->move(mag::to_pixels(lefts.left[i], twips_x_), img_ico_[i]->y());

    layout_magnifier();

    // Centred on the pointer; not pulled back onto the screen. Where the
    // pointer's place is unknown (native Wayland), centred on the screen.
    const QPoint pointer = desktop_.positions_known()
        ? desktop_.cursor_pos()
        : QPoint(desktop_.screen_size().width() / 2, desktop_.screen_size().height() / 2);
    const QPointF corner = mag::centred_on_pointer(pointer, width() * double(twips_x_),
                                                   height() * double(twips_y_), twips_x_, twips_y_);
    move(mag::to_pixels(corner.x(), twips_x_), mag::to_pixels(corner.y(), twips_y_));
    opened_at_ = pos();

    draw_magnified();
    show();
}

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
}

void FrmMag::draw_magnified()
{
    ++redraw_count_;
    pic_mag1_->hide();
    pic_mag2_->hide();
    const QSize size = mag::half_widget_size(screen_width_, screen_height_, zoom_, twips_x_, twips_y_);
    pic_mag1_->resize(size);
    pic_mag2_->resize(size);
    // Let the old halves go before the new ones are made.
    pic_mag1_->set_picture({});
    pic_mag2_->set_picture({});

    if (snapshot_.isNull()) {
        capture_message_->show();
        capture_message_->raise();
        return;
    }
    capture_message_->hide();

    const mag::HalfRects rects = mag::half_rects(snapshot_.width(), snapshot_.height(), zoom_);
    pic_mag1_->set_picture(enlarge(snapshot_, rects.left_source, rects.enlarged));
    pic_mag2_->set_picture(enlarge(snapshot_, rects.right_source, rects.enlarged));
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
    state_.view_ratio = lo.view_ratio;

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

void FrmMag::img_ico_Click(int index)
{
    // A click that arrives while a sequence is still running waits its turn
    // by being ignored: the user can click again.
    if (busy_ || closing_)
        return;
    switch (index) {
    case 0:
        if (zoom_ != 1.5f) {
            img_ico_[0]->show_picture(picture(0, true));
            img_ico_[1]->show_picture(picture(1, false));
            zoom_ = 1.5f;
            draw_magnified();
        }
        break;
    case 1:
        if (zoom_ != 2.0f) {
            img_ico_[0]->show_picture(picture(0, false));
            img_ico_[1]->show_picture(picture(1, true));
            zoom_ = 2.0f;
            draw_magnified();
        }
        break;
    case 2:
        if (!small_view_) {
            img_ico_[2]->show_picture(picture(2, true));
            img_ico_[3]->show_picture(picture(3, false));
            small_view_ = true;
            layout_magnifier();
        }
        break;
    case 3:
        if (small_view_) {
            img_ico_[2]->show_picture(picture(2, false));
            img_ico_[3]->show_picture(picture(3, true));
            small_view_ = false;
            layout_magnifier();
        }
        break;
    case 4:
        refresh();
        break;
    case 5:
        close();
        break;
    default:
        break;
    }
}

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

void FrmMag::pic_mag1_MouseDown()
{
    // The compositor moves the window; each move it reports re-places the
    // halves (moveEvent).
    if (compositor_move(*this, desktop_))
        return;
    const QPoint cursor = desktop_.cursor_pos();
    const QPoint offset = mag::drag_offset(x() * double(twips_x_), y() * double(twips_y_), cursor,
                                           twips_x_, twips_y_);
    state_.drag_offset_x = offset.x();
    state_.drag_offset_y = offset.y();
    pic_mag1_->setCursor(drag_cursor_);
    pic_mag2_->setCursor(drag_cursor_);
    state_.dragging = true;
    tim_move_->start();
}

void FrmMag::pic_mag1_MouseUp()
{
    pic_mag1_->unsetCursor();
    pic_mag2_->unsetCursor();
    state_.dragging = false;
    tim_move_->stop();
}

void FrmMag::tim_move_Timer()
{
    if (!state_.dragging) {
        tim_move_->stop();
        return;
    }
    const QPoint corner = mag::dragged_corner(desktop_.cursor_pos(),
                                              QPoint(state_.drag_offset_x, state_.drag_offset_y),
                                              twips_x_, twips_y_);
    move(mag::to_pixels(corner.x(), twips_x_), mag::to_pixels(corner.y(), twips_y_));
    place_halves();
}

void FrmMag::img_ico_MouseMove(int index)
{
    if (index == hover_icon_)
        return;
    if (hover_icon_ == 4)
        img_ico_[4]->show_picture(picture(4, false));
    else if (hover_icon_ == 5)
        img_ico_[5]->show_picture(picture(5, false));
    hover_icon_ = index;
    if (index == 4)
        img_ico_[4]->show_picture(picture(4, true));
    else if (index == 5)
        img_ico_[5]->show_picture(picture(5, true));
}

void FrmMag::lab_frame_MouseMove()
{
    if (hover_icon_ == 99)
        return;
    img_ico_[4]->show_picture(picture(4, false));
    img_ico_[5]->show_picture(picture(5, false));
    hover_icon_ = 99;
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

void FrmMag::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(lab_frame_->geometry(), kStripColour);
    const QRect inner = sha_frame_.adjusted(kFramePixels, kFramePixels, -kFramePixels, -kFramePixels);
    p.setClipRegion(QRegion(sha_frame_) - QRegion(inner));
    p.fillRect(sha_frame_, kFrameColour);
}

void FrmMag::hideEvent(QHideEvent* event)
{
    // A hidden window gets no mouse-up: do not leave a drag running.
    if (state_.dragging || tim_move_->isActive())
        pic_mag1_MouseUp();
    QWidget::hideEvent(event);
}

void FrmMag::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (desktop_.compositor_moves_windows() && desktop_.positions_known() && pic_mag1_->isVisible())
        place_halves();
}

void FrmMag::closeEvent(QCloseEvent* event)
{
    if (state_.dragging || tim_move_->isActive())
        pic_mag1_MouseUp();
    closing_ = true;
    QWidget::closeEvent(event);
    if (!closed_sent_) {
        closed_sent_ = true;
        emit closed();
    }
}
