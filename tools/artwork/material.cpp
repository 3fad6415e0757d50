#include "material.h"

#include <cmath>

namespace artwork {

QColor mix(const QColor &a, const QColor &b, double t)
{
    auto ch = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(ch(a.red(), b.red()), ch(a.green(), b.green()), ch(a.blue(), b.blue()),
                  ch(a.alpha(), b.alpha()));
}

namespace {

// Walnut faces with brass trim, for the light wood panel.
Material wood()
{
    Material m;
    m.corner = {205, 162, 108};
    m.edge = {52, 30, 16};
    m.bevelLight = {172, 124, 80};
    m.bevelDark = {58, 35, 19};
    m.faceTop = {128, 86, 52};
    m.faceBottom = {86, 54, 31};
    m.glow = {255, 198, 72};
    m.glowInner = {255, 232, 166};
    m.hiFaceTop = {160, 112, 66};
    m.hiFaceBottom = {112, 74, 42};
    m.pressedTop = {64, 38, 20};
    m.pressedBottom = {98, 64, 36};
    m.accent = {255, 176, 48};
    m.ink = {248, 230, 190};
    m.inkHi = {255, 250, 232};
    m.caption = {230, 196, 124};
    m.captionHi = {255, 228, 160};
    m.shadow = {28, 14, 4};
    return m;
}

// Plum lacquer with rose trim, for the dark flower panel.
Material flower()
{
    Material m;
    m.corner = {32, 26, 52};
    m.edge = {8, 6, 16};
    m.bevelLight = {146, 112, 178};
    m.bevelDark = {20, 12, 30};
    m.faceTop = {82, 58, 108};
    m.faceBottom = {42, 28, 62};
    m.glow = {255, 122, 200};
    m.glowInner = {255, 200, 234};
    m.hiFaceTop = {118, 82, 152};
    m.hiFaceBottom = {66, 42, 94};
    m.pressedTop = {24, 14, 36};
    m.pressedBottom = {54, 32, 76};
    m.accent = {255, 104, 190};
    m.ink = {250, 248, 255};
    m.inkHi = {255, 255, 255};
    m.caption = {236, 204, 240};
    m.captionHi = {255, 232, 250};
    m.shadow = {0, 0, 0};
    return m;
}

Material graphite()
{
    Material m;
    m.corner = {40, 42, 46};
    m.edge = {16, 17, 20};
    m.bevelLight = {150, 156, 166};
    m.bevelDark = {26, 27, 31};
    m.faceTop = {98, 102, 110};
    m.faceBottom = {58, 60, 66};
    m.glow = {120, 206, 255};
    m.glowInner = {200, 236, 255};
    m.hiFaceTop = {128, 134, 146};
    m.hiFaceBottom = {78, 82, 92};
    m.pressedTop = {34, 35, 40};
    m.pressedBottom = {64, 66, 74};
    m.accent = {120, 206, 255};
    m.ink = {240, 244, 250};
    m.inkHi = {255, 255, 255};
    m.caption = {206, 214, 226};
    m.captionHi = {236, 246, 255};
    m.shadow = {0, 0, 0};
    return m;
}

} // namespace

const Material &skinMaterial(const QString &skin)
{
    static const Material w = wood();
    static const Material f = flower();
    return skin == QLatin1String("2") ? f : w;
}

const Material &neutralMaterial()
{
    static const Material g = graphite();
    return g;
}

} // namespace artwork
