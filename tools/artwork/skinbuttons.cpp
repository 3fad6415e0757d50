#include "skinbuttons.h"

#include <QLinearGradient>
#include <QPainter>

#include "buttonbody.h"
#include "glyphs.h"

namespace artwork {

namespace {

bool isChosenZoomCell(const QString &stem)
{
    return stem.startsWith(QLatin1String("zoom")) && stem.endsWith(QLatin1String("_on"));
}

// A chosen zoom area glows in the accent colour, like a lit display segment.
void lightFace(QImage &img, const Material &m, Look look)
{
    QPainter p(&img);
    const QRect face = faceRect(img.size());
    QLinearGradient g(0, face.top(), 0, face.bottom() + 1);
    const QColor hot = look == Look::Highlight ? mix(m.accent, QColor(255, 255, 255), 0.45)
                                               : mix(m.accent, QColor(255, 255, 255), 0.25);
    g.setColorAt(0, hot);
    g.setColorAt(1, mix(m.accent, m.faceBottom, 0.3));
    p.fillRect(face, g);
}

} // namespace

QImage renderSkinButton(const Item &item, QString *error)
{
    const Material &m = skinMaterial(item.skin);
    const QSize size(item.width, item.height);
    const Look look = lookForState(item.state);
    QImage img = drawBody(m, size, look);
    const bool lit = isChosenZoomCell(item.stem);
    if (lit)
        lightFace(img, m, look);

    QImage layer = blankLayer(size);
    bool known = false;
    {
        QPainter p(&layer);
        const GlyphStyle style = styleFor(m, look);
        Kit k(p, style);
        const QRect face = faceRect(size);
        if (size == QSize(39, 27))
            known = drawKeyGlyph(k, item.stem, face, face.left() + face.width() / 2);
        else
            known = drawSmallGlyph(k, item.stem, face);
    }
    if (!known) {
        *error = QStringLiteral("no pictogram for stem \"%1\"").arg(item.stem);
        return {};
    }
    compositeGlyph(img, layer, m, look, !lit);
    return img;
}

QImage renderRefresh(const Item &item)
{
    const Material &m = neutralMaterial();
    const QSize size(item.width, item.height);
    const Look look = lookForState(item.state);
    QImage img = drawBody(m, size, look);
    QImage layer = blankLayer(size);
    {
        QPainter p(&layer);
        const GlyphStyle style = styleFor(m, look);
        Kit k(p, style);
        const QRect face = faceRect(size);
        const int cx = face.left() + face.width() / 2;
        drawTwinArrows(k, cx + 0.5, face.top() + 6.5, 4.6, style.ink, 1.5);
        k.caption(cx, face.bottom() - 6, QStringLiteral("REFRESH"));
    }
    compositeGlyph(img, layer, m, look);
    return img;
}

} // namespace artwork
