#include "widgets/picture_button.h"

#include "platform/picture_store.h"
#include "widgets/control_accessible.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPointer>

PictureButton::PictureButton(int index, PictureStore& pictures, QWidget* parent)
    : PressableControl(parent), index_(index), pictures_(pictures)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    install_control_accessibility();  // before the toolkit first asks about it
}

void PictureButton::set_picture(const QString& name)
{
    ++loads_;
    if (name == picture_name_ && !pixmap().isNull())
        return;  // drawn already: no repaint between two exchanges
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
        control_event::announce(self, control_event::activated());
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

// The key goes down: the press.
void PictureButton::key_pressed()
{
    emit pressed(index_, Qt::NoButton);
}

// The key came up for good: the release, then the focus finds its place on
// the page the button leads to.
void PictureButton::key_released()
{
    QPointer<PictureButton> self(this);
    emit released(index_, Qt::NoButton);
    if (self)
        control_event::announce(self, control_event::activated());
}

// A key that held the button down and is let go elsewhere still releases it,
// so an arrow never keeps the picture moving.
void PictureButton::key_hold_lost()
{
    emit released(index_, Qt::NoButton);
}

// Reaching a button with Tab is hovering over it: its caption shows.
void PictureButton::focusInEvent(QFocusEvent* event)
{
    PressableControl::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        emit pointer_moved(index_);
}
