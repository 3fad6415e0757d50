#include "panel/picture_button.h"

#include "panel/keyboard_access.h"
#include "panel/panel_accessible.h"
#include "platform/focus_mark.h"
#include "platform/picture_store.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

PictureButton::PictureButton(int index, PictureStore& pictures, QWidget* parent)
    : SharpPicture(parent), index_(index), pictures_(pictures)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    install_panel_accessibility();  // before the toolkit first asks about it
}

void PictureButton::set_picture(const QString& name)
{
    ++loads_;
    picture_name_ = name;
    const QPixmap pixmap = pictures_.pixmap(name);
    if (pixmap.isNull()) {
        // A missing picture keeps the place and size; the name still says
        // what the button stands for.
        setPixmap(QPixmap());
        setToolTip(name);
    } else {
        setPixmap(pixmap);
        resize(pixmap.size());
    }
    // A new picture shows a new setting: a screen reader hears it too.
    if (QAccessible::isActive()) {
        QAccessibleEvent described(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&described);
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent state(this, changed);
        QAccessible::updateAccessibility(&state);
    }
}

void PictureButton::press_and_release()
{
    QPointer<PictureButton> self(this);
    emit pressed(index_, Qt::NoButton);
    if (!self)
        return;
    emit released(index_, Qt::NoButton);
    if (self)
        settle_focus(self);
}

void PictureButton::activate_later()
{
    QMetaObject::invokeMethod(
        this, [this] {
            if (isEnabled() && isVisible())
                press_and_release();
        },
        Qt::QueuedConnection);
}

void PictureButton::mouseMoveEvent(QMouseEvent* event)
{
    emit pointer_moved(index_);
    event->accept();
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    emit pressed(index_, event->button());
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(index_, event->button());
    event->accept();
}

// The key goes down: the press. Auto-repeat is not a new press. Other keys
// (the menu key among them) go on to whoever wants them.
void PictureButton::keyPressEvent(QKeyEvent* event)
{
    const KeyHold::Step step = key_hold_.key_down(event);
    if (step == KeyHold::Step::NotMine) {
        SharpPicture::keyPressEvent(event);
        return;
    }
    event->accept();
    if (step == KeyHold::Step::Press)
        emit pressed(index_, Qt::NoButton);
}

void PictureButton::keyReleaseEvent(QKeyEvent* event)
{
    const KeyHold::Step step = key_hold_.key_up(event);
    if (step == KeyHold::Step::NotMine) {
        SharpPicture::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (step != KeyHold::Step::Release)
        return;
    QPointer<PictureButton> self(this);
    end_key_hold();
    if (self)
        settle_focus(self);
}

void PictureButton::end_key_hold()
{
    key_hold_.drop();
    emit released(index_, Qt::NoButton);
}

// Reaching a button with Tab is hovering over it: its caption shows.
void PictureButton::focusInEvent(QFocusEvent* event)
{
    SharpPicture::focusInEvent(event);
    update();
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        emit pointer_moved(index_);
}

// A key that held the button down and is let go elsewhere still releases it,
// so an arrow never keeps the picture moving.
void PictureButton::focusOutEvent(QFocusEvent* event)
{
    SharpPicture::focusOutEvent(event);
    update();
    if (key_hold_.held())
        end_key_hold();
}

bool PictureButton::focusNextPrevChild(bool next)
{
    return park_focus(this) || SharpPicture::focusNextPrevChild(next);
}

void PictureButton::changeEvent(QEvent* event)
{
    SharpPicture::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled())
        unpark_focus(this);
}

void PictureButton::paintEvent(QPaintEvent* event)
{
    SharpPicture::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        paint_focus_mark(painter, rect());
    }
}

// Also keeps a disabled button's picture as drawn: the selected tab's
// picture must not be greyed out.
void SharpPicture::paintEvent(QPaintEvent*)
{
    const QPixmap shown = pixmap();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(0, 0, shown);
}
