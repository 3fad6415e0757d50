#include "glyphkit.h"

#include <QPainterPath>
#include <cmath>

#include "pixelfont.h"

namespace artwork {

GlyphStyle styleFor(const Material &m, Look look)
{
    switch (look) {
    case Look::Highlight:
        return {m, look, m.inkHi, m.captionHi};
    case Look::Pressed:
        return {m, look, mix(m.ink, m.accent, 0.55), mix(m.caption, m.accent, 0.6)};
    case Look::Normal:
        break;
    }
    return {m, look, m.ink, m.caption};
}

void Kit::frame(const QRect &r, const QColor &c)
{
    hline(r.left(), r.right(), r.top(), c);
    hline(r.left(), r.right(), r.bottom(), c);
    vline(r.left(), r.top() + 1, r.bottom() - 1, c);
    vline(r.right(), r.top() + 1, r.bottom() - 1, c);
}

QColor Kit::role(char c) const
{
    switch (c) {
    case '#': return s_.ink;
    case '+': return withAlpha(s_.ink, 140);
    case ':': return withAlpha(s_.ink, 64);
    case 'k': return withAlpha(s_.m.shadow, 210);
    case 'R': return signal::red();
    case 'G': return signal::green();
    case 'B': return signal::blue();
    case 'Y': return signal::yellow();
    case 'C': return signal::cyan();
    case 'M': return signal::magenta();
    case 'W': return QColor(255, 255, 255);
    case 'A': return s_.m.accent;
    case 'a': return withAlpha(s_.m.accent, 128);
    default: return Qt::transparent;
    }
}

void Kit::sprite(int x, int y, std::initializer_list<const char *> rows)
{
    int r = 0;
    for (const char *row : rows) {
        for (int i = 0; row[i]; ++i) {
            const QColor c = role(row[i]);
            if (c.alpha())
                px(x + i, y + r, c);
        }
        ++r;
    }
}

void Kit::caption(int cx, int y, const QString &text)
{
    pixelfont::drawCentred(p_, pixelfont::Face::Caption, cx, y, text, s_.caption);
}

void Kit::arrowLeft(int x0, int x1, int y, const QColor &c)
{
    hline(x0, x1, y, c);
    vline(x0 + 1, y - 1, y + 1, c);
    vline(x0 + 2, y - 2, y + 2, c);
}

void Kit::arrowRight(int x0, int x1, int y, const QColor &c)
{
    hline(x0, x1, y, c);
    vline(x1 - 1, y - 1, y + 1, c);
    vline(x1 - 2, y - 2, y + 2, c);
}

void Kit::arrowUp(int x, int y0, int y1, const QColor &c)
{
    vline(x, y0, y1, c);
    hline(x - 1, x + 1, y0 + 1, c);
    hline(x - 2, x + 2, y0 + 2, c);
}

void Kit::arrowDown(int x, int y0, int y1, const QColor &c)
{
    vline(x, y0, y1, c);
    hline(x - 1, x + 1, y1 - 1, c);
    hline(x - 2, x + 2, y1 - 2, c);
}

void Kit::picture(const QRect &r, int alpha)
{
    static const QColor bars[] = {{232, 232, 232}, {236, 214, 60}, {80, 212, 222},
                                  {84, 196, 84},   {206, 80, 196}, {214, 64, 56},
                                  {64, 96, 222}};
    const int n = 7;
    for (int i = 0; i < n; ++i) {
        const int x0 = r.left() + r.width() * i / n;
        const int x1 = r.left() + r.width() * (i + 1) / n;
        QColor c = bars[i];
        c.setAlpha(alpha);
        p_.fillRect(x0, r.top(), x1 - x0, r.height(), c);
    }
}

void Kit::circularArrow(double cx, double cy, double r, bool clockwise, const QColor &c,
                        double width)
{
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p_.setBrush(Qt::NoBrush);
    const QRectF box(cx - r, cy - r, 2 * r, 2 * r);
    // Qt angles run counter-clockwise from three o'clock. The ring starts
    // right (or left) of the top and runs round to the top, leaving a gap
    // for the head.
    const double tail = clockwise ? 40 : 140;
    const double sweep = clockwise ? -290 : 290;
    QPainterPath ring;
    ring.arcMoveTo(box, tail);
    ring.arcTo(box, tail, sweep);
    p_.drawPath(ring);

    const double a = (tail + sweep) * M_PI / 180.0;
    const QPointF end(cx + r * std::cos(a), cy - r * std::sin(a));
    const QPointF dir = clockwise ? QPointF(std::sin(a), std::cos(a))
                                  : QPointF(-std::sin(a), -std::cos(a));
    const QPointF normal(-dir.y(), dir.x());
    const double len = 1.6 + 1.4 * width, half = 1.2 + 1.1 * width;
    QPolygonF head;
    head << end + dir * len << end + normal * half << end - normal * half;
    p_.setPen(Qt::NoPen);
    p_.setBrush(c);
    p_.drawPolygon(head);
    p_.restore();
}

} // namespace artwork
