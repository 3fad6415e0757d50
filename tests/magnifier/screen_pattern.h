#pragma once
// A test screen whose every pixel tells where it came from, so the source behind any enlarged pixel can be read.

#include <QImage>
#include <QPoint>

// red: x bits 0-7, green: y bits 0-7, blue: x bits 8-11 and y bits 8-11.
inline QImage screen_pattern(int width, int height, int shift = 0)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int sx = x + shift;
            line[x] = qRgb(sx & 0xFF, y & 0xFF, ((sx >> 8) & 0xF) | (((y >> 8) & 0xF) << 4));
        }
    }
    return image;
}

inline QPoint pattern_source(QRgb pixel)
{
    return QPoint(qRed(pixel) | ((qBlue(pixel) & 0xF) << 8), qGreen(pixel) | ((qBlue(pixel) >> 4) << 8));
}
