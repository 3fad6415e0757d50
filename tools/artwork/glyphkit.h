// Drawing helpers for pictograms: pixel-exact strokes, pixel-art sprites and
// the colour roles they use.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>
#include <initializer_list>

#include "buttonbody.h"
#include "material.h"

namespace artwork {

struct GlyphStyle {
    const Material &m;
    Look look;
    QColor ink;      // main pictogram colour for this look
    QColor caption;  // caption colour for this look
};

GlyphStyle styleFor(const Material &m, Look look);

class Kit {
public:
    Kit(QPainter &p, const GlyphStyle &s) : p_(p), s_(s) {}

    QPainter &painter() { return p_; }
    const GlyphStyle &style() const { return s_; }

    void px(int x, int y, const QColor &c) { p_.fillRect(x, y, 1, 1, c); }
    void hline(int x0, int x1, int y, const QColor &c) { p_.fillRect(x0, y, x1 - x0 + 1, 1, c); }
    void vline(int x, int y0, int y1, const QColor &c) { p_.fillRect(x, y0, 1, y1 - y0 + 1, c); }
    void frame(const QRect &r, const QColor &c); // one-pixel outline
    void fill(const QRect &r, const QColor &c) { p_.fillRect(r, c); }

    // Pixel art. Roles: '#' ink, '+' ink 55%, ':' ink 25%, 'k' dark,
    // 'R' 'G' 'B' 'Y' 'C' 'M' signal colours, 'W' white, 'A' accent,
    // 'a' accent 50%; anything else is transparent.
    void sprite(int x, int y, std::initializer_list<const char *> rows);
    QColor role(char c) const;

    // Caption in the 5 px font, centred on column cx.
    void caption(int cx, int y, const QString &text);

    // Straight arrows with three-pixel heads; both ends inclusive.
    void arrowLeft(int x0, int x1, int y, const QColor &c);
    void arrowRight(int x0, int x1, int y, const QColor &c);
    void arrowUp(int x, int y0, int y1, const QColor &c);
    void arrowDown(int x, int y0, int y1, const QColor &c);

    // A little video picture: colour bars, used inside screen pictograms.
    void picture(const QRect &r, int alpha = 255);

    // Circular arrow (anti-aliased) centred on (cx, cy) in pixel units;
    // clockwise or counter-clockwise, arrowhead at the top.
    void circularArrow(double cx, double cy, double r, bool clockwise, const QColor &c,
                       double width = 1.5);

    QColor withAlpha(QColor c, int a) const
    {
        c.setAlpha(a);
        return c;
    }

private:
    QPainter &p_;
    const GlyphStyle &s_;
};

} // namespace artwork
