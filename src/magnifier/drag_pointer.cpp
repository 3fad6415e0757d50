#include "magnifier/drag_pointer.h"

#include "platform/picture_store.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>

QImage key_colour_transparent(const QImage& picture)
{
    if (picture.isNull())
        return {};
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = (line[x] & 0xFFFFFFu) == 0xFF00FFu ? 0u : (line[x] | 0xFF000000u);
    }
    return out;
}

QCursor drag_pointer(const PictureStore& pictures)
{
    const QImage picture = key_colour_transparent(pictures.image(QStringLiteral("m_drag")));
    if (picture.isNull())
        return QCursor(Qt::SizeAllCursor);
    return QCursor(QPixmap::fromImage(picture), picture.width() / 2, picture.height() / 2);
}
