// Skin "1": light maple with long grain, a walnut band along the top.
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "material.h"
#include "noise.h"
#include "panels.h"

namespace artwork {

namespace {

struct Grain {
    QColor early, late;  // the two tones of a growth ring
    double ringsPerPixel;
    double contrast;
    std::uint32_t seed;
};

QRgb grainAt(int x, int y, const Grain &g)
{
    // Rings run along the board; slow noise bends them, fine noise gives
    // the fibres.
    const double warp = 10.0 * noise::fractal(x * 0.005, y * 0.025, g.seed)
                        + 2.5 * std::sin(x * 0.018 + y * 0.05);
    const double ring = (y + warp) * g.ringsPerPixel
                        + 1.2 * noise::fractal(x * 0.015, y * 0.12, g.seed + 7);
    const double f = ring - std::floor(ring);
    // Late wood: a sharp dark edge fading back into the light early wood.
    const double late = f < 0.18 ? f / 0.18 : std::exp(-(f - 0.18) * 7.0);
    const double fibre = noise::value(x * 0.07, y * 1.1, g.seed + 13) - 0.5;
    const double tone = noise::fractal(x * 0.008, y * 0.02, g.seed + 29) - 0.5;
    QColor c = mix(g.early, g.late, std::clamp(late * g.contrast + tone * 0.35, 0.0, 1.0));
    const int d = int(std::lround(fibre * 16 * g.contrast + tone * 10));
    return qRgb(std::clamp(c.red() + d, 0, 255), std::clamp(c.green() + d, 0, 255),
                std::clamp(c.blue() + d, 0, 255));
}

} // namespace

void paintWoodGround(QImage &img)
{
    const Grain maple{{236, 204, 158}, {204, 160, 108}, 0.11, 0.55, 1701};
    for (int y = 0; y < img.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = grainAt(x, y, maple);
    }
}

void paintWalnutBand(QImage &img, int top, int bottom)
{
    const Grain walnut{{122, 78, 44}, {76, 44, 22}, 0.16, 0.8, 4242};
    for (int y = top; y <= bottom; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = grainAt(x, y + 200, walnut);
    }
}

} // namespace artwork
