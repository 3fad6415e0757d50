// The window outline on arbitrary small pictures: the region is exactly the
// non-white pixels, equals the union of the runs and lies within the picture.
//
// Input: width (byte 0, modulo 65), height (byte 1, modulo 65), pixel format
// (byte 2), then one byte per pixel: 0 white, 1 near white (one step below in
// a channel), 2 white with alpha 0, anything else a colour made of that byte.

#include "window/outline.h"

#include <cstdint>
#include <iterator>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

constexpr QImage::Format kFormats[] = {QImage::Format_RGB32,  QImage::Format_ARGB32,
                                       QImage::Format_RGB888, QImage::Format_RGB16,
                                       QImage::Format_Indexed8, QImage::Format_Mono,
                                       QImage::Format_ARGB32_Premultiplied, QImage::Format_Grayscale8};

QRgb colour(uint8_t b)
{
    switch (b) {
    case 0: return 0xFFFFFFFFu;
    case 1: return 0xFFFFFEFFu;
    case 2: return 0x00FFFFFFu;
    default: return 0xFF000000u | (b * 0x010203u);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int w = data[0] % 65;
    const int h = data[1] % 65;
    const QImage::Format format = kFormats[data[2] % std::size(kFormats)];

    // Drawn on ARGB32, then converted, so every format sees the same picture
    // as far as it can hold it.
    QImage drawn(w, h, QImage::Format_ARGB32);
    drawn.fill(0xFFFFFFFFu);
    for (int i = 0; i < w * h && 3 + static_cast<size_t>(i) < size; ++i)
        drawn.setPixel(i % w, i / w, colour(data[3 + i]));
    const QImage picture = format == QImage::Format_ARGB32 ? drawn : drawn.convertToFormat(format);

    const QRegion region = region_from_picture(picture);
    const std::vector<QRect> runs = outline_runs(picture);

    const QRect bounds(0, 0, w, h);
    QRegion from_runs;
    int previous_y = -1, previous_right = -1;
    for (const QRect& r : runs) {
        check(r.height() == 1 && r.width() >= 1, "a run is one pixel high and not empty");
        check(bounds.contains(r), "a run lies within the picture");
        check(r.top() > previous_y || r.left() > previous_right + 1, "runs are ordered and apart");
        previous_y = r.top();
        previous_right = r.right();
        from_runs += r;
    }
    check((region ^ from_runs).isEmpty(), "the region is the union of the runs");
    check(region.isEmpty() || bounds.contains(region.boundingRect()), "the region lies within the picture");

    // Every pixel: inside the region exactly when it is not white.
    const QImage rgb = picture.isNull() ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const bool white = (rgb.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu;
            check(region.contains(QPoint(x, y)) == !white, "the region holds exactly the non-white pixels");
        }
    return 0;
}
