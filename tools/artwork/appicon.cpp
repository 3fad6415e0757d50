#include "appicon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace artwork {

namespace {

// Everything is laid out on a 32-unit grid and scaled. Outlines stay about
// one pixel wide at small sizes and grow only slowly at large ones, so the
// big icons do not look like a scaled-up small one.
void paintIcon(QPainter &p, int size, bool square)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    const double unitsPerPixel = 32.0 / size;
    const double line = std::max(1.0, size / 64.0) * unitsPerPixel;
    p.scale(size / 32.0, size / 32.0);

    // Tile.
    QLinearGradient tile(0, 0, 0, 32);
    tile.setColorAt(0, QColor(58, 104, 196));
    tile.setColorAt(1, QColor(20, 36, 98));
    const QRectF tileRect = square ? QRectF(0, 0, 32, 32) : QRectF(line / 2, line / 2, 32 - line, 32 - line);
    const double radius = square ? 0 : 6;
    p.setPen(square ? QPen(Qt::NoPen) : QPen(QColor(12, 22, 64), line));
    p.setBrush(tile);
    p.drawRoundedRect(tileRect, radius, radius);
    if (square) {
        p.setPen(QPen(QColor(12, 22, 64), line));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(line / 2, line / 2, 32 - line, 32 - line));
    }

    // Antennas.
    p.setPen(QPen(QColor(226, 232, 244), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 9.5), QPointF(10.5, 3.5));
    p.drawLine(QPointF(16, 9.5), QPointF(21.5, 3.5));

    // Cabinet.
    QLinearGradient wood(0, 9, 0, 27);
    wood.setColorAt(0, QColor(214, 150, 84));
    wood.setColorAt(1, QColor(138, 80, 36));
    p.setPen(QPen(QColor(50, 26, 8), line));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(3.5, 9.5, 25, 17), 2.5, 2.5);

    // Screen with colour bars.
    const QRectF screen(5.5, 11.5, 16, 13);
    QPainterPath glass;
    glass.addRoundedRect(screen, 2, 2);
    p.save();
    p.setClipPath(glass);
    static const QColor bars[] = {{236, 236, 236}, {240, 216, 40}, {60, 214, 226},
                                  {60, 200, 70},   {214, 60, 200}, {222, 46, 40},
                                  {40, 80, 226}};
    for (int i = 0; i < 7; ++i)
        p.fillRect(QRectF(screen.left() + i * screen.width() / 7, screen.top(),
                          screen.width() / 7 + 0.01, screen.height()),
                   bars[i]);
    QLinearGradient shine(0, screen.top(), 0, screen.bottom());
    shine.setColorAt(0, QColor(255, 255, 255, 90));
    shine.setColorAt(0.45, QColor(255, 255, 255, 0));
    p.fillRect(screen, shine);
    p.restore();
    p.setPen(QPen(QColor(30, 16, 6), line));
    p.setBrush(Qt::NoBrush);
    p.drawPath(glass);

    // Knobs.
    p.setPen(QPen(QColor(40, 22, 8), line * 0.8));
    p.setBrush(QColor(240, 222, 180));
    p.drawEllipse(QPointF(25, 15), 1.7, 1.7);
    p.drawEllipse(QPointF(25, 20.5), 1.7, 1.7);

    // Feet.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 22, 8));
    p.drawRect(QRectF(7, 26.5, 3, 2));
    p.drawRect(QRectF(22, 26.5, 3, 2));
}

// Qt's own conversion picks a code path by CPU, and those round the
// exact halves (say 21 * 255 / 238 = 22.5) differently; integer arithmetic
// with one rounding rule gives the same file on every machine.
QImage unpremultiplied(const QImage &premultiplied)
{
    QImage out(premultiplied.size(), QImage::Format_ARGB32);
    for (int y = 0; y < premultiplied.height(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(premultiplied.constScanLine(y));
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < premultiplied.width(); ++x) {
            const int a = qAlpha(src[x]);
            const auto straight = [a](int c) { return a ? std::min(255, (c * 255 + a / 2) / a) : 0; };
            dst[x] = qRgba(straight(qRed(src[x])), straight(qGreen(src[x])), straight(qBlue(src[x])), a);
        }
    }
    return out;
}

} // namespace

QImage renderAppIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    paintIcon(p, size, false);
    p.end();
    return unpremultiplied(img);
}

QImage renderWindowIcon(int size)
{
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(QColor(20, 36, 98));
    QPainter p(&img);
    paintIcon(p, size, true);
    return img;
}

} // namespace artwork
