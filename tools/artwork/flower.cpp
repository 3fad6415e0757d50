// Skin "2": a night-blue ground with painted flowers kept to the edges, so
// the middle stays calm for the white text the program writes there.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "material.h"
#include "noise.h"
#include "panels.h"

namespace artwork {

namespace {

constexpr int kBandBottom = 20;

void leaf(QPainter &p, QPointF base, double angle, double length, double width,
          const QColor &colour)
{
    p.save();
    p.translate(base);
    p.rotate(angle);
    QPainterPath path;
    path.moveTo(0, 0);
    path.quadTo(length * 0.45, -width, length, 0);
    path.quadTo(length * 0.45, width, 0, 0);
    QLinearGradient g(0, -width, 0, width);
    g.setColorAt(0, colour.lighter(135));
    g.setColorAt(1, colour.darker(150));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
    p.setPen(QPen(colour.darker(190), 0.7));
    p.drawLine(QPointF(0, 0), QPointF(length * 0.85, 0));
    p.restore();
}

void blossom(QPainter &p, QPointF c, double r, int petals, double turn, const QColor &petal,
             const QColor &heart)
{
    p.save();
    p.translate(c);
    for (int i = 0; i < petals; ++i) {
        p.save();
        p.rotate(turn + i * 360.0 / petals);
        QRadialGradient g(QPointF(r * 0.15, 0), r);
        g.setColorAt(0, petal.darker(135));
        g.setColorAt(0.55, petal);
        g.setColorAt(1, petal.lighter(125));
        p.setPen(QPen(petal.darker(200), 0.6));
        p.setBrush(g);
        p.drawEllipse(QRectF(r * 0.08, -r * 0.3, r * 0.95, r * 0.6));
        p.restore();
    }
    QRadialGradient h(QPointF(-r * 0.08, -r * 0.08), r * 0.3);
    h.setColorAt(0, heart.lighter(140));
    h.setColorAt(1, heart.darker(140));
    p.setPen(Qt::NoPen);
    p.setBrush(h);
    p.drawEllipse(QPointF(0, 0), r * 0.26, r * 0.26);
    p.restore();
}

void bud(QPainter &p, QPointF c, double r, double angle, const QColor &petal)
{
    p.save();
    p.translate(c);
    p.rotate(angle);
    p.setPen(Qt::NoPen);
    p.setBrush(petal);
    p.drawEllipse(QRectF(-r * 0.5, -r, r, r * 1.6));
    p.setBrush(QColor(52, 120, 70));
    QPainterPath cup;
    cup.moveTo(-r * 0.6, r * 0.1);
    cup.quadTo(0, r * 1.4, r * 0.6, r * 0.1);
    cup.quadTo(0, r * 0.6, -r * 0.6, r * 0.1);
    p.drawPath(cup);
    p.restore();
}

void stem(QPainter &p, const QPainterPath &path, double width)
{
    p.setPen(QPen(QColor(46, 104, 64), width, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// Painting with an opacity rounds differently on ARM and x86; this blend
// is integer arithmetic, so the file is the same on every machine.
void blendFaintly(QImage &img, const QImage &layer, int opacity)
{
    for (int y = 0; y < img.height(); ++y) {
        auto *dst = reinterpret_cast<QRgb *>(img.scanLine(y));
        const auto *src = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int keep = 255 * 255 - qAlpha(src[x]) * opacity;
            const auto over = [&](int d, int s) { return (d * keep + s * opacity * 255 + 255 * 255 / 2) / (255 * 255); };
            dst[x] = qRgb(over(qRed(dst[x]), qRed(src[x])), over(qGreen(dst[x]), qGreen(src[x])),
                          over(qBlue(dst[x]), qBlue(src[x])));
        }
    }
}

const QColor kRose(238, 108, 164);
const QColor kPale(246, 222, 238);
const QColor kLilac(170, 138, 232);
const QColor kPeach(250, 170, 120);
const QColor kGold(252, 208, 76);
const QColor kLeaf(62, 138, 82);
const QColor kLeafDark(40, 100, 66);

} // namespace

void paintNightGround(QImage &img)
{
    for (int y = 0; y < img.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        const double t = double(y) / (img.height() - 1);
        const QColor band(16, 12, 30);
        const QColor base = y <= kBandBottom ? band : mix(QColor(30, 26, 56), QColor(42, 24, 58), t);
        for (int x = 0; x < img.width(); ++x) {
            const double n = noise::fractal(x * 0.02, y * 0.02, 77) - 0.5;
            const int d = int(std::lround(n * 10));
            line[x] = qRgb(std::clamp(base.red() + d, 0, 255), std::clamp(base.green() + d, 0, 255),
                           std::clamp(base.blue() + d * 2, 0, 255));
        }
    }
}

void paintFlowers(QImage &img)
{
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);

    // A faint garden in the middle, barely there, so text over it stays clear.
    {
        QImage garden(img.size(), QImage::Format_ARGB32_Premultiplied);
        garden.fill(Qt::transparent);
        QPainter g(&garden);
        g.setRenderHint(QPainter::Antialiasing, true);
        for (int i = 0; i < 7; ++i)
            leaf(g, QPointF(40 + i * 34, 108 - (i % 2) * 4), -20 - (i % 3) * 25, 30, 7, kLeafDark);
        g.end();
        blendFaintly(img, garden, 41);
    }

    // Left edge: a climbing stem with leaves and buds.
    QPainterPath climb;
    climb.moveTo(6, 118);
    climb.cubicTo(2, 96, 12, 80, 6, 62);
    climb.cubicTo(2, 50, 9, 40, 7, 30);
    stem(p, climb, 1.3);
    leaf(p, QPointF(6, 88), -140, 9, 3.2, kLeaf);
    leaf(p, QPointF(7, 72), -40, 8, 3.0, kLeaf);
    leaf(p, QPointF(5, 54), -150, 8, 2.8, kLeaf);
    bud(p, QPointF(7, 28), 3.0, 8, kRose);
    blossom(p, QPointF(7, 46), 5.5, 5, 10, kPale, kGold);

    // Bottom left corner: the big cluster.
    leaf(p, QPointF(20, 110), -30, 22, 6, kLeaf);
    leaf(p, QPointF(16, 114), -70, 16, 5, kLeafDark);
    leaf(p, QPointF(30, 112), 0, 18, 5, kLeafDark);
    blossom(p, QPointF(14, 106), 11, 6, 15, kRose, kGold);
    blossom(p, QPointF(34, 110), 7.5, 5, 40, kLilac, kGold);
    bud(p, QPointF(46, 106), 3, 60, kRose);

    // A garland along the bottom edge.
    QPainterPath garland;
    garland.moveTo(40, 114);
    garland.cubicTo(90, 104, 130, 118, 180, 110);
    garland.cubicTo(200, 107, 212, 112, 224, 108);
    stem(p, garland, 1.1);
    const struct { double x, y, r; int n; QColor c; } small[] = {
        {72, 110, 5.0, 5, kPeach}, {112, 112, 4.2, 5, kPale}, {150, 113, 5.0, 6, kLilac},
        {188, 109, 4.4, 5, kRose}, {214, 110, 3.6, 5, kPale},
    };
    for (int i = 0; i < int(std::size(small)); ++i) {
        const auto &s = small[i];
        leaf(p, QPointF(s.x + 2, s.y + 1), i % 2 ? -10 : 190, 8, 2.6, kLeaf);
        blossom(p, QPointF(s.x, s.y), s.r, s.n, i * 23.0, s.c, kGold);
    }

    // Bottom right corner, under the port buttons.
    leaf(p, QPointF(292, 114), -150, 14, 4, kLeaf);
    blossom(p, QPointF(296, 110), 6.5, 6, 5, kPale, kGold);
    bud(p, QPointF(283, 113), 2.6, -50, kLilac);

    // Top right corner beside the message plate.
    blossom(p, QPointF(299, 12), 5.5, 5, 30, kRose, kGold);
    leaf(p, QPointF(298, 20), 60, 8, 2.6, kLeaf);

    // Top left, round the logo.
    blossom(p, QPointF(10, 10), 6, 5, 0, kLilac, kGold);
    leaf(p, QPointF(14, 15), 20, 8, 2.6, kLeaf);
    bud(p, QPointF(60, 6), 2.4, 120, kPale);
    leaf(p, QPointF(58, 9), 160, 7, 2.4, kLeaf);
}

} // namespace artwork
