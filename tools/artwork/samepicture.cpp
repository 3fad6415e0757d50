#include "samepicture.h"

#include <algorithm>
#include <cstdlib>

namespace artwork {

namespace {

int levelsApart(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}

bool onAnEdge(const QImage &img, int x, int y)
{
    const QRgb here = img.pixel(x, y);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.valid(x + dx, y + dy) && img.pixel(x + dx, y + dy) != here)
                return true;
    return false;
}

} // namespace

QString pictureDifference(const QImage &committed, const QImage &fresh)
{
    if (committed.isNull() || fresh.isNull())
        return QStringLiteral("cannot be read");
    if (committed.size() != fresh.size())
        return QStringLiteral("%1 x %2 instead of %3 x %4")
            .arg(fresh.width()).arg(fresh.height()).arg(committed.width()).arg(committed.height());
    const QImage a = committed.convertToFormat(QImage::Format_ARGB32);
    const QImage b = fresh.convertToFormat(QImage::Format_ARGB32);
    int count = 0, worst = 0;
    QPoint worstAt;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const int d = levelsApart(a.pixel(x, y), b.pixel(x, y));
            if (d == 0 || (d <= kEdgeNoiseLevels && onAnEdge(a, x, y)))
                continue;
            ++count;
            if (d > worst) {
                worst = d;
                worstAt = QPoint(x, y);
            }
        }
    if (count == 0)
        return {};
    return QStringLiteral("%1 pixels differ, the most at %2,%3 by %4 levels")
        .arg(count).arg(worstAt.x()).arg(worstAt.y()).arg(worst);
}

} // namespace artwork
