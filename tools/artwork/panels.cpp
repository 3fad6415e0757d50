#include "panels.h"

#include <QLinearGradient>
#include <QPainter>

#include "inventory.h"
#include "layout.h"
#include "material.h"
#include "pixelfont.h"

namespace artwork {

namespace {

// The parts both skins share, in each skin's colours.
struct PanelLook {
    QColor rimDark, rimLight;          // outer edge and the bevel inside it
    QColor bandLine, bandHighlight;    // lower edge of the header band
    QColor plate, plateShade;          // display plates behind the text labels
    QColor plateDark, plateLight;      // their sunken border
    QColor wellDark, wellLight, wellFill;
    QColor logo, logoRelief;
};

PanelLook woodLook()
{
    PanelLook l;
    l.rimDark = {70, 40, 18};
    l.rimLight = {246, 218, 172};
    l.bandLine = {58, 32, 14};
    l.bandHighlight = {246, 214, 164};
    l.plate = {248, 244, 228};
    l.plateShade = {232, 226, 204};
    l.plateDark = {44, 24, 10};
    l.plateLight = {196, 150, 100};
    l.wellDark = {92, 58, 30};
    l.wellLight = {250, 226, 186};
    l.wellFill = {150, 104, 60};
    l.logo = {236, 204, 140};
    l.logoRelief = {30, 16, 6};
    return l;
}

PanelLook flowerLook()
{
    PanelLook l;
    l.rimDark = {4, 2, 10};
    l.rimLight = {196, 140, 190};
    l.bandLine = {214, 150, 200};
    l.bandHighlight = {6, 4, 14};
    l.plate = {244, 240, 250};
    l.plateShade = {222, 214, 236};
    l.plateDark = {4, 2, 10};
    l.plateLight = {150, 110, 160};
    l.wellDark = {4, 2, 10};
    l.wellLight = {120, 90, 140};
    l.wellFill = {18, 14, 32};
    l.logo = {236, 206, 236};
    l.logoRelief = {0, 0, 0};
    return l;
}

void hline(QPainter &p, int x0, int x1, int y, const QColor &c) { p.fillRect(x0, y, x1 - x0 + 1, 1, c); }
void vline(QPainter &p, int x, int y0, int y1, const QColor &c) { p.fillRect(x, y0, 1, y1 - y0 + 1, c); }

// A sunken rectangle: dark on top and left, light on the bottom and right.
void sunken(QPainter &p, const QRect &r, const QColor &dark, const QColor &light)
{
    hline(p, r.left(), r.right(), r.top(), dark);
    vline(p, r.left(), r.top(), r.bottom(), dark);
    hline(p, r.left() + 1, r.right(), r.bottom(), light);
    vline(p, r.right(), r.top() + 1, r.bottom(), light);
}

void plate(QPainter &p, const QRect &r, const PanelLook &l)
{
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, l.plateShade);
    g.setColorAt(0.35, l.plate);
    g.setColorAt(1, l.plate);
    p.fillRect(r, g);
    sunken(p, r, l.plateDark, l.plateLight);
    // Soft inner shadow under the top edge, faint enough not to cut into text.
    hline(p, r.left() + 1, r.right() - 1, r.top() + 1, mix(l.plateDark, l.plateShade, 0.86));
}

void well(QPainter &p, const QRect &r, const PanelLook &l, int fillAlpha)
{
    QColor fill = l.wellFill;
    fill.setAlpha(fillAlpha);
    p.fillRect(r.adjusted(1, 1, -1, -1), fill);
    sunken(p, r, l.wellDark, l.wellLight);
}

void logo(QPainter &p, const PanelLook &l, int x, int y)
{
    const QString text = QStringLiteral("QV-742");
    pixelfont::drawText(p, pixelfont::Face::Digits, x + 1, y + 1, text, l.logoRelief);
    pixelfont::drawText(p, pixelfont::Face::Digits, x, y, text, l.logo);
}

constexpr int kBandBottom = 20; // last row of the header band

void paintStructure(QImage &img, const PanelLook &l)
{
    namespace L = layout;
    QPainter p(&img);
    hline(p, 0, kPanelWidth - 1, kBandBottom, l.bandLine);
    hline(p, 0, kPanelWidth - 1, kBandBottom + 1, l.bandHighlight);

    plate(p, L::titlePlate(), l);
    plate(p, L::messagePlate(), l);

    logo(p, l, 22, 7);

    const QRect c = L::connectIndicator();
    well(p, c.adjusted(-2, -2, 2, 2), l, 200);

    // A rail behind the window buttons.
    QRect rail;
    for (const auto &s : L::rightColumn())
        rail = rail.united(s.rect());
    well(p, rail.adjusted(-2, -2, 2, 2), l, 150);

    QRect ports;
    for (const auto &s : L::comPorts())
        ports = ports.united(s.rect());
    well(p, ports.adjusted(-2, -2, 2, 2), l, 150);
}

// Outer bevel following the outline, then everything outside made pure
// white and nothing inside left pure white.
void finishOutline(QImage &img, const PanelLook &l)
{
    auto inside = [](int x, int y) { return layout::insideOutline(x, y); };
    auto neighbourOutside = [&](int x, int y, int d) {
        return !inside(x - d, y) || !inside(x + d, y) || !inside(x, y - d) || !inside(x, y + d);
    };
    QImage out = img.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (!inside(x, y)) {
                line[x] = qRgb(255, 255, 255);
                continue;
            }
            if (neighbourOutside(x, y, 1)) {
                line[x] = l.rimDark.rgb();
            } else if (neighbourOutside(x, y, 2)) {
                // Lit from the top left.
                const bool upperLeft = !inside(x - 2, y) || !inside(x, y - 2);
                const QColor under = QColor::fromRgb(line[x]);
                line[x] = mix(under, upperLeft ? l.rimLight : l.rimDark, upperLeft ? 0.55 : 0.45).rgb();
            }
            if ((line[x] & 0xffffff) == 0xffffff)
                line[x] = qRgb(0xfe, 0xfe, 0xfe);
        }
    }
    img = out;
}

QImage bluePanel()
{
    QImage img(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, layout::insideOutline(x, y) ? qRgb(0, 0, 255) : qRgb(255, 255, 255));
    return img;
}

} // namespace

QImage renderPanel(const QString &skin)
{
    if (skin.isEmpty())
        return bluePanel();
    QImage img(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
    const bool wood = skin == QLatin1String("1");
    const PanelLook look = wood ? woodLook() : flowerLook();
    if (wood) {
        paintWoodGround(img);
        paintWalnutBand(img, 0, kBandBottom);
        paintStructure(img, look);
    } else {
        paintNightGround(img);
        paintFlowers(img);
        paintStructure(img, look);
    }
    finishOutline(img, look);
    return img;
}

} // namespace artwork
