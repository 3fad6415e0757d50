#include "magnifier/strip_button.h"

#include "magnifier/strip_accessible.h"
#include "platform/picture_store.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

StripButton::StripButton(PictureStore& pictures, QSize picture_size, const QString& tooltip,
                         QWidget* parent)
    : PressableControl(parent), pictures_(pictures)
{
    setFixedSize(picture_size);
    setToolTip(tooltip);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    install_strip_accessibility();
}

void StripButton::show_picture(const QString& name)
{
    ++loads_;
    name_ = name;
    pixmap_ = pictures_.pixmap(name);
    update();
    if (toggle_ && QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent state(this, changed);
        QAccessible::updateAccessibility(&state);
    }
}

void StripButton::paint_face(QPaintEvent*)
{
    QPainter p(this);
    if (!pixmap_.isNull()) {
        p.fillRect(rect(), QColor(215, 161, 0));
        p.drawPixmap(0, 0, pixmap_);
        return;
    }
    // No picture: a plain raised button, sunken while chosen or highlighted.
    const bool on = name_.endsWith(QLatin1String("_1"));
    p.fillRect(rect(), on ? QColor(250, 214, 110) : QColor(215, 161, 0));
    p.setPen(on ? QColor(90, 60, 0) : QColor(255, 235, 170));
    p.drawLine(0, 0, width() - 1, 0);
    p.drawLine(0, 0, 0, height() - 1);
    p.setPen(on ? QColor(255, 235, 170) : QColor(90, 60, 0));
    p.drawLine(width() - 1, 0, width() - 1, height() - 1);
    p.drawLine(0, height() - 1, width() - 1, height() - 1);
    QFont font = p.font();
    font.setPixelSize(qMax(6, height() / 2));
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(rect(), Qt::AlignCenter, toolTip());
}

void StripButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    event->accept();
}

void StripButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    const bool was_pressed = pressed_;
    pressed_ = false;
    if (was_pressed && inside)
        emit clicked();
}
