#include "magnifier.h"

#include <QPainter>

#include "buttonbody.h"
#include "glyphs.h"
#include "pixelfont.h"

namespace artwork {

namespace {

// Amber, a shade off the strip so the buttons read as part of it.
const Material &amber()
{
    static const Material m = [] {
        Material a;
        a.corner = magnifierStripColour();
        a.edge = {100, 64, 0};
        a.bevelLight = {255, 230, 150};
        a.bevelDark = {148, 100, 0};
        a.faceTop = {244, 200, 74};
        a.faceBottom = {212, 156, 16};
        a.glow = {255, 252, 226};
        a.glowInner = {255, 255, 244};
        a.hiFaceTop = {255, 228, 136};
        a.hiFaceBottom = {240, 188, 52};
        a.pressedTop = {78, 46, 0};
        a.pressedBottom = {122, 78, 4};
        a.accent = {255, 214, 90};
        a.ink = {58, 32, 0};
        a.inkHi = {34, 18, 0};
        a.caption = a.ink;
        a.captionHi = a.inkHi;
        a.shadow = {255, 238, 176};
        a.shadowAlpha = 130;
        return a;
    }();
    return m;
}

// The pressed look of a chosen toggle has light ink on a dark face.
const Material &amberChosen()
{
    static const Material m = [] {
        Material a = amber();
        a.ink = {255, 234, 160};
        a.shadow = {20, 10, 0};
        a.shadowAlpha = 170;
        return a;
    }();
    return m;
}

void window(Kit &k, const QRect &face, int w, int h)
{
    const QRect r(face.left() + (face.width() - w) / 2, face.top() + (face.height() - h) / 2, w, h);
    const QColor ink = k.style().ink;
    k.frame(r, ink);
    k.fill(QRect(r.left(), r.top(), r.width(), 2), ink);
    k.fill(r.adjusted(1, 2, -1, -1), k.withAlpha(ink, 60));
}

} // namespace

QImage renderMagnifierButton(const Item &item, QString *error)
{
    const bool toggle = magnifierToggleStems().contains(item.stem);
    const bool chosen = toggle && item.state == 1;
    const Look look = chosen ? Look::Pressed : lookForState(item.state);
    const Material &m = chosen ? amberChosen() : amber();

    // The button floats on the strip with a one-pixel margin all round.
    const QSize bodySize(item.width - 2, item.height - 2);
    QImage img(item.width, item.height, QImage::Format_ARGB32_Premultiplied);
    img.fill(magnifierStripColour());
    QImage body = drawBody(m, bodySize, look);
    QImage layer = blankLayer(bodySize);
    {
        QPainter p(&layer);
        GlyphStyle style{m, look, chosen ? m.ink : (look == Look::Highlight ? m.inkHi : m.ink),
                         m.caption};
        Kit k(p, style);
        const QRect face = faceRect(bodySize);
        auto text = [&](const QString &s) {
            const int w = pixelfont::textWidth(pixelfont::Face::Digits, s);
            pixelfont::drawText(p, pixelfont::Face::Digits, face.left() + (face.width() - w + 1) / 2,
                                face.top() + (face.height() - 7) / 2, s, style.ink);
        };
        if (item.stem == QLatin1String("15")) {
            text(QStringLiteral("x1.5"));
        } else if (item.stem == QLatin1String("20")) {
            text(QStringLiteral("x2.0"));
        } else if (item.stem == QLatin1String("small")) {
            window(k, face, 9, 7);
        } else if (item.stem == QLatin1String("big")) {
            window(k, face, 17, 11);
        } else if (item.stem == QLatin1String("refresh")) {
            drawTwinArrows(k, face.left() + face.width() / 2.0, face.top() + face.height() / 2.0,
                           3.6, style.ink, 1.3);
        } else if (item.stem == QLatin1String("close")) {
            const QColor x = look == Look::Highlight ? QColor(196, 24, 8) : style.ink;
            static const char *rows[] = {"##...##", ".##.##.", "..###..", "..###..",
                                         ".##.##.", "##...##"};
            const int x0 = face.left() + (face.width() - 7) / 2;
            const int y0 = face.top() + (face.height() - 6) / 2;
            for (int r = 0; r < 6; ++r)
                for (int i = 0; i < 7; ++i)
                    if (rows[r][i] == '#')
                        k.px(x0 + i, y0 + r, x);
        } else {
            *error = QStringLiteral("no magnifier picture for stem \"%1\"").arg(item.stem);
            return {};
        }
    }
    compositeGlyph(body, layer, m, look);
    QPainter(&img).drawImage(1, 1, body);
    return img;
}

} // namespace artwork
