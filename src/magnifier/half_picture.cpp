#include "magnifier/half_picture.h"

#include <QPaintEvent>
#include <QPainter>

HalfPicture::HalfPicture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

void HalfPicture::set_picture(QPixmap picture)
{
    picture_ = std::move(picture);
    update();
}

void HalfPicture::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect area = event->rect();
    // The view's purple wherever the picture does not reach.
    if (!picture_.rect().contains(area))
        p.fillRect(area, QColor(128, 0, 128));
    if (!picture_.isNull())
        p.drawPixmap(area.topLeft(), picture_, area);
}
