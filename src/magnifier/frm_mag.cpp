// The magnifier window itself: its elements, opening, painting and closing.
// The view lies in frm_mag_view.cpp, the strip in frm_mag_strip.cpp,
// dragging in frm_mag_drag.cpp and the keyboard in frm_mag_keys.cpp.

#include "magnifier/frm_mag.h"

#include "core/shared_state.h"
#include "magnifier/drag_pointer.h"
#include "magnifier/half_picture.h"
#include "magnifier/magnifier_geometry.h"
#include "magnifier/strip_button.h"
#include "magnifier/strip_design.h"
#include "platform/desktop.h"
#include "platform/picture_store.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
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

void fill_with(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace

FrmMag::FrmMag(const SharedState& state, Desktop& desktop, PictureStore& pictures, QWidget* parent)
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
    capture_message_->setAlignment(Qt::AlignCenter);
    capture_message_->setWordWrap(true);
    capture_message_->setMargin(4);
    capture_message_->setStyleSheet(QStringLiteral("color: white;"));
    capture_message_->setAttribute(Qt::WA_TransparentForMouseEvents);
    capture_message_->hide();

    for (int i = 0; i < 6; ++i) {
        img_ico_[i] = new StripButton(pictures_, kStripButtons[i].size,
                                      QString::fromLatin1(kStripButtons[i].tooltip), this);
        img_ico_[i]->setObjectName(QStringLiteral("img_ico_%1").arg(i));
        img_ico_[i]->setAccessibleName(QString::fromLatin1(kStripButtons[i].name));
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

void FrmMag::open()
{
    pic_mag1_MouseUp();
    dragging_ = false;
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

void FrmMag::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(lab_frame_->geometry(), kStripColour);
    const QRect inner = sha_frame_.adjusted(kFramePixels, kFramePixels, -kFramePixels, -kFramePixels);
    p.setClipRegion(QRegion(sha_frame_) - QRegion(inner));
    p.fillRect(sha_frame_, kFrameColour);
}

void FrmMag::closeEvent(QCloseEvent* event)
{
    if (dragging_ || tim_move_->isActive())
        pic_mag1_MouseUp();
    closing_ = true;
    QWidget::closeEvent(event);
    if (!closed_sent_) {
        closed_sent_ = true;
        emit closed();
    }
}
