#include "magnifier/half_picture.h"

#include "magnifier/snapshot.h"

#include <QPaintEvent>
#include <QPainter>

HalfPicture::HalfPicture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

void HalfPicture::show_part(const QImage& snapshot, const QRect& source, const QSize& enlarged)
{
    snapshot_ = snapshot;
    source_ = source;
    enlarged_ = enlarged;
    update();
}

QImage HalfPicture::rendered() const
{
    return empty() ? QImage() : enlarge(snapshot_, source_, enlarged_);
}

void HalfPicture::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect area = event->rect();
    const QRect picture = empty() ? QRect() : QRect(QPoint(0, 0), enlarged_);
    // The view's purple wherever the picture does not reach.
    if (!picture.contains(area))
        p.fillRect(area, QColor(128, 0, 128));
    if (picture.isEmpty())
        return;
    // The same drawing as the whole enlargement's, clipped to what is exposed.
    p.setClipRect(area & picture);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(picture, snapshot_, source_);
}
