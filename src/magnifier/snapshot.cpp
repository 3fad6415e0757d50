#include "magnifier/snapshot.h"

#include <QImage>
#include <QPainter>

QImage screen_snapshot(QImage grab, const QSize& screen)
{
    if (grab.isNull() || screen.isEmpty())
        return {};
    if (grab.format() != QImage::Format_RGB32)
        grab = grab.convertToFormat(QImage::Format_RGB32);
    if (grab.size() == screen)
        return grab;
    QImage area(screen, QImage::Format_RGB32);
    if (area.isNull())
        return {};
    area.fill(Qt::black);
    QPainter painter(&area);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, grab);
    painter.end();
    return area;
}

QImage enlarge(const QImage& snapshot, const QRect& source, const QSize& size)
{
    if (snapshot.isNull() || source.isEmpty() || size.isEmpty())
        return {};
    QImage out(size, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRect(QPoint(0, 0), size), snapshot, source);
    painter.end();
    return out;
}
