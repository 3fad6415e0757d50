#include "window/outline.h"

#include <QPainter>

namespace {

// Runs of one row as [start, end) pairs.
void row_runs(const QRgb* row, int width, std::vector<int>& runs)
{
    runs.clear();
    bool in_run = false;
    for (int x = 0; x < width; ++x) {
        const bool white = (row[x] & 0xFFFFFFu) == 0xFFFFFFu;
        if (!white && !in_run) {
            runs.push_back(x);
            in_run = true;
        } else if (white && in_run) {
            runs.push_back(x);
            in_run = false;
        }
    }
    if (in_run)
        runs.push_back(width);
}

QImage as_rgb32(const QImage& picture)
{
    return picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
        ? picture
        : picture.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

std::vector<QRect> outline_runs(const QImage& picture)
{
    std::vector<QRect> rects;
    if (picture.isNull())
        return rects;
    const QImage image = as_rgb32(picture);
    std::vector<int> runs;
    for (int y = 0; y < image.height(); ++y) {
        row_runs(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width(), runs);
        for (size_t i = 0; i < runs.size(); i += 2)
            rects.emplace_back(QPoint(runs[i], y), QPoint(runs[i + 1] - 1, y));
    }
    return rects;
}

QRegion region_from_picture(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage image = as_rgb32(picture);
    std::vector<QRect> bands;
    std::vector<int> runs, previous;
    size_t band_start = 0;  // first rectangle of the band the previous row belongs to
    for (int y = 0; y < image.height(); ++y) {
        row_runs(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width(), runs);
        if (y > 0 && runs == previous && !runs.empty()) {
            for (size_t i = band_start; i < bands.size(); ++i)
                bands[i].setBottom(y);  // the band grows by one row
            continue;
        }
        band_start = bands.size();
        for (size_t i = 0; i < runs.size(); i += 2)
            bands.emplace_back(QPoint(runs[i], y), QPoint(runs[i + 1] - 1, y));
        previous.swap(runs);
    }
    QRegion region;
    if (!bands.empty())
        region.setRects(bands.data(), static_cast<int>(bands.size()));
    return region;
}

QImage clear_outside(const QImage& picture, const QRegion& outline)
{
    QImage out(picture.size(), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return out;
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setClipRegion(outline);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, picture);
    painter.end();
    return out;
}
