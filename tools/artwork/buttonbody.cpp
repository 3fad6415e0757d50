#include "buttonbody.h"

#include <QLinearGradient>
#include <QPainter>

namespace artwork {

namespace {

void hline(QPainter &p, int x0, int x1, int y, const QColor &c) { p.fillRect(x0, y, x1 - x0 + 1, 1, c); }
void vline(QPainter &p, int x, int y0, int y1, const QColor &c) { p.fillRect(x, y0, 1, y1 - y0 + 1, c); }

void fillGradient(QPainter &p, const QRect &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(0, r.top(), 0, r.bottom() + 1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

} // namespace

QImage blankLayer(QSize size)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage drawBody(const Material &m, QSize size, Look look)
{
    const int w = size.width(), h = size.height();
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(m.corner);
    QPainter p(&img);
    const QRect face = faceRect(size);

    QColor edge = m.edge, lightRing = m.bevelLight, darkRing = m.bevelDark;
    QColor top = m.faceTop, bottom = m.faceBottom;
    switch (look) {
    case Look::Normal:
        break;
    case Look::Highlight:
        edge = m.glow;
        lightRing = m.glowInner;
        darkRing = mix(m.glow, m.hiFaceBottom, 0.35);
        top = m.hiFaceTop;
        bottom = m.hiFaceBottom;
        break;
    case Look::Pressed:
        lightRing = m.bevelDark;
        darkRing = mix(m.accent, m.pressedBottom, 0.35);
        top = m.pressedTop;
        bottom = m.pressedBottom;
        break;
    }

    fillGradient(p, face, top, bottom);
    if (look == Look::Pressed) {
        // Inner shadow along the top and left: the face sits below the rim.
        hline(p, face.left(), face.right(), face.top(), mix(m.bevelDark, top, 0.35));
        vline(p, face.left(), face.top(), face.bottom(), mix(m.bevelDark, top, 0.5));
        QColor tint = m.accent;
        tint.setAlpha(40);
        p.fillRect(face.adjusted(1, 1, 0, 0), tint);
    } else {
        // A faint sheen on the upper edge gives the face some curvature.
        QColor sheen = look == Look::Highlight ? m.glowInner : m.bevelLight;
        sheen.setAlpha(look == Look::Highlight ? 110 : 70);
        hline(p, face.left(), face.right(), face.top(), sheen);
        if (look == Look::Highlight) {
            QColor glow = m.glow;
            glow.setAlpha(60);
            hline(p, face.left(), face.right(), face.bottom(), glow);
            vline(p, face.left(), face.top() + 1, face.bottom() - 1, glow);
            vline(p, face.right(), face.top() + 1, face.bottom() - 1, glow);
        }
    }

    // Bevel ring.
    hline(p, 1, w - 2, 1, lightRing);
    vline(p, 1, 1, h - 2, lightRing);
    hline(p, 2, w - 2, h - 2, darkRing);
    vline(p, w - 2, 2, h - 2, darkRing);
    p.fillRect(w - 2, 1, 1, 1, mix(lightRing, darkRing, 0.5));
    p.fillRect(1, h - 2, 1, 1, mix(lightRing, darkRing, 0.5));

    // Outline with the corners cut.
    hline(p, 1, w - 2, 0, edge);
    hline(p, 1, w - 2, h - 1, edge);
    vline(p, 0, 1, h - 2, edge);
    vline(p, w - 1, 1, h - 2, edge);
    const QColor cornerBlend = mix(edge, m.corner, 0.6);
    for (QPoint c : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
        p.fillRect(c.x(), c.y(), 1, 1, cornerBlend);
    return img;
}

void compositeGlyph(QImage &button, const QImage &layer, const Material &m, Look look,
                    bool shadow)
{
    const QPoint nudge = look == Look::Pressed ? QPoint(1, 1) : QPoint(0, 0);

    QImage shade = layer;
    {
        QPainter sp(&shade);
        sp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        QColor c = m.shadow;
        c.setAlpha(m.shadowAlpha);
        sp.fillRect(shade.rect(), c);
    }
    QPainter p(&button);
    p.setClipRect(faceRect(button.size()));
    if (shadow)
        p.drawImage(nudge + QPoint(1, 1), shade);
    p.drawImage(nudge, layer);
}

} // namespace artwork
