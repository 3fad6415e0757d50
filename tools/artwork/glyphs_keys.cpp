// Pictograms of the 39 x 27 function keys: a picture of 11..13 rows on top,
// a caption in the 5 px font below, so every key says what it does.
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <functional>
#include <map>

#include "glyphs.h"

namespace artwork {

namespace {

// Vertical budget inside the 23-row face (rows 2..24 of the button):
// pictogram in rows 3..16, caption in rows 18..22.
constexpr int kPictTop = 3;
constexpr int kPictRows = 14;
constexpr int kCaptionRow = 18;

int topFor(int rows) { return kPictTop + (kPictRows - rows) / 2; }

void power(Kit &k, int cx, bool on)
{
    QPainter &p = k.painter();
    const QPointF c(cx + 0.5, topFor(12) + 6.5);
    const QColor col = on ? signal::green() : signal::red();
    if (on) {
        QRadialGradient halo(c, 9);
        halo.setColorAt(0, k.withAlpha(signal::green(), 120));
        halo.setColorAt(1, k.withAlpha(signal::green(), 0));
        p.fillRect(QRectF(c.x() - 10, c.y() - 10, 20, 20), halo);
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(on ? col : k.withAlpha(col, 230), 1.7, Qt::SolidLine, Qt::FlatCap));
    const QRectF box(c.x() - 5, c.y() - 4.5, 10, 10);
    QPainterPath ring;
    ring.arcMoveTo(box, 128);
    ring.arcTo(box, 128, 284);
    p.drawPath(ring);
    p.restore();
    k.fill(QRect(cx, topFor(12), 1, 7), col);
    k.caption(cx, kCaptionRow, QStringLiteral("POWER"));
}

void sysReset(Kit &k, int cx)
{
    // Clockwise, where the video reset turns back the other way.
    k.circularArrow(cx + 0.5, topFor(12) + 6.5, 5, true, k.style().ink, 1.6);
    k.caption(cx, kCaptionRow, QStringLiteral("SYS RESET"));
}

void reset(Kit &k, int cx)
{
    k.circularArrow(cx + 0.5, topFor(12) + 6.5, 5, false, k.style().ink, 1.6);
    k.caption(cx, kCaptionRow, QStringLiteral("RESET"));
}

void zoom(Kit &k, int cx)
{
    // The screen cut into the nine zoom areas, the centre one chosen.
    const int top = topFor(13);
    const QColor ink = k.style().ink, dim = k.withAlpha(ink, 120);
    for (int i = 1; i < 3; ++i) {
        k.vline(cx - 9 + 6 * i, top + 1, top + 11, dim);
        k.hline(cx - 8, cx + 8, top + 4 * i, dim);
    }
    k.fill(QRect(cx - 2, top + 5, 5, 3), k.style().m.accent);
    k.frame(QRect(cx - 9, top, 19, 13), ink);
    k.caption(cx, kCaptionRow, QStringLiteral("ZOOM"));
}

void magnifier(Kit &k, int cx)
{
    QPainter &p = k.painter();
    const int top = topFor(12);
    const QPointF lens(cx - 1.5, top + 5.0);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(k.withAlpha(signal::cyan(), 70));
    p.drawEllipse(lens, 4.2, 4.2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(k.style().ink, 1.5));
    p.drawEllipse(lens, 4.5, 4.5);
    p.setPen(QPen(k.style().ink, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx + 2.2, top + 8.7), QPointF(cx + 5.6, top + 12.1));
    // A glint on the glass.
    p.setPen(QPen(k.withAlpha(QColor(255, 255, 255), 200), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(lens.x() - 2.6, lens.y() - 2.6, 5.2, 5.2), 100 * 16, 70 * 16);
    p.restore();
    k.caption(cx, kCaptionRow, QStringLiteral("MAGNIFY"));
}

void scan(Kit &k, int cx, bool over)
{
    const int top = topFor(12);
    const QColor ink = k.style().ink;
    if (over) {
        // The picture spills past the screen edge.
        k.picture(QRect(cx - 11, top, 23, 12), 120);
        const QRect screen(cx - 8, top + 2, 17, 8);
        k.picture(screen.adjusted(1, 1, -1, -1));
        k.frame(screen.adjusted(-1, -1, 1, 1), k.role('k'));
        k.frame(screen, ink);
        k.caption(cx, kCaptionRow, QStringLiteral("OVER"));
    } else {
        // The whole picture sits inside the screen with a border round it.
        k.frame(QRect(cx - 9, top, 19, 12), ink);
        k.fill(QRect(cx - 8, top + 1, 17, 10), k.role('k'));
        k.picture(QRect(cx - 5, top + 3, 11, 6));
        k.caption(cx, kCaptionRow, QStringLiteral("UNDER"));
    }
}

void options(Kit &k, int cx)
{
    k.sprite(cx - 6, topFor(11), {
        "###..........",
        "#A#.#########",
        "###..........",
        ".............",
        "###..........",
        "#.#.#########",
        "###..........",
        ".............",
        "###..........",
        "#A#.#########",
        "###..........",
    });
    k.caption(cx, kCaptionRow, QStringLiteral("OPTION"));
}

void move(Kit &k, int cx)
{
    k.sprite(cx - 6, topFor(13), {
        "......#......",
        ".....###.....",
        "....#####....",
        "......#......",
        "..#...#...#..",
        ".##...#...##.",
        "#############",
        ".##...#...##.",
        "..#...#...#..",
        "......#......",
        "....#####....",
        ".....###.....",
        "......#......",
    });
    k.caption(cx, kCaptionRow, QStringLiteral("MOVE"));
}

void pan(Kit &k, int cx)
{
    // A viewfinder over the picture, with the way it can travel.
    const int top = topFor(13);
    const QColor ink = k.style().ink;
    const QRect v(cx - 9, top, 19, 13);
    for (QPoint c : {v.topLeft(), v.topRight(), v.bottomLeft(), v.bottomRight()}) {
        const int dx = c.x() == v.left() ? 1 : -1, dy = c.y() == v.top() ? 1 : -1;
        k.hline(std::min(c.x(), c.x() + 3 * dx), std::max(c.x(), c.x() + 3 * dx), c.y(), ink);
        k.vline(c.x(), std::min(c.y(), c.y() + 3 * dy), std::max(c.y(), c.y() + 3 * dy), ink);
    }
    k.sprite(cx - 4, top + 2, {
        "....#....",
        "...###...",
        "....#....",
        ".#..#..#.",
        "#########",
        ".#..#..#.",
        "....#....",
        "...###...",
        "....#....",
    });
    k.caption(cx, kCaptionRow, QStringLiteral("PAN"));
}

void size(Kit &k, int cx)
{
    // Width and height arrows beside a picture.
    const int top = topFor(13);
    const QColor ink = k.style().ink;
    const QRect pic(cx - 9, top, 14, 9);
    k.fill(pic.adjusted(1, 1, -1, -1), k.withAlpha(ink, 70));
    k.frame(pic, ink);
    k.arrowLeft(pic.left(), pic.right(), top + 11, ink);
    k.arrowRight(pic.left(), pic.right(), top + 11, ink);
    k.arrowUp(cx + 8, top, top + 8, ink);
    k.arrowDown(cx + 8, top, top + 8, ink);
    k.caption(cx, kCaptionRow, QStringLiteral("SIZE"));
}

void expand(Kit &k, int cx)
{
    // Arrows pushing the picture out past all four corners.
    const int top = topFor(13);
    const QColor ink = k.style().ink;
    k.fill(QRect(cx - 4, top + 4, 9, 5), k.withAlpha(ink, 90));
    const QRect box(cx - 9, top, 19, 13);
    for (QPoint c : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
        const int dx = c.x() == box.left() ? 1 : -1, dy = c.y() == box.top() ? 1 : -1;
        for (int i = 0; i < 4; ++i) {
            k.px(c.x() + i * dx, c.y(), ink);
            k.px(c.x(), c.y() + i * dy, ink);
            k.px(c.x() + i * dx, c.y() + i * dy, ink);
        }
    }
    k.caption(cx, kCaptionRow, QStringLiteral("EXPAND"));
}

// Connectors seen from the front; 'o' is the collar colour.
void rcaJack(Kit &k, int x, int y, const QColor &collar)
{
    static const char *rows[] = {
        "..ooo..",
        ".oHooo.",
        "ookkkoo",
        "ookWkoo",
        "ookkkoo",
        ".ooooo.",
        "..ooo..",
    };
    for (int r = 0; r < 7; ++r)
        for (int i = 0; i < 7; ++i) {
            const char c = rows[r][i];
            if (c == 'o')
                k.px(x + i, y + r, collar);
            else if (c == 'H')
                k.px(x + i, y + r, mix(collar, QColor(255, 255, 255), 0.6));
            else if (c != '.')
                k.px(x + i, y + r, k.role(c));
        }
}

void sVideoJack(Kit &k, int x, int y)
{
    k.sprite(x, y, {
        "..###..",
        ".#kkk#.",
        "#kWkWk#",
        "#kkkkk#",
        "#kWkWk#",
        ".#kkk#.",
        "..###..",
    });
}

void outputs(Kit &k, int cx, bool component)
{
    const int top = topFor(7) - 1;
    if (component) {
        rcaJack(k, cx - 12, top, signal::green());
        rcaJack(k, cx - 3, top, signal::blue());
        rcaJack(k, cx + 6, top, signal::red());
        k.caption(cx, kCaptionRow, QStringLiteral("YPbPr"));
    } else {
        rcaJack(k, cx - 8, top, signal::yellow());
        sVideoJack(k, cx + 2, top);
        k.caption(cx, kCaptionRow, QStringLiteral("CV/SV"));
    }
}

void live(Kit &k, int cx)
{
    const int top = topFor(11);
    for (int i = 0; i < 11; ++i) {
        const int w = std::min(i, 10 - i) + 1;
        k.hline(cx - 3, cx - 3 + w - 1, top + i, signal::green());
    }
    k.caption(cx, kCaptionRow, QStringLiteral("LIVE"));
}

void frozen(Kit &k, int cx)
{
    const int top = topFor(11);
    const QColor c = signal::cyan();
    const int x0 = cx - 5, y0 = top;
    for (int i = 0; i < 11; ++i) {
        k.px(x0 + 5, y0 + i, c);
        k.px(x0 + i, y0 + 5, c);
    }
    for (int i = 2; i < 9; ++i) {
        k.px(x0 + i, y0 + i, c);
        k.px(x0 + 10 - i, y0 + i, c);
    }
    // Forks at the ends of the upright and crossing arms.
    for (int s : {-1, 1}) {
        k.px(x0 + 5 + s, y0 + 1, c);
        k.px(x0 + 5 + s, y0 + 9, c);
        k.px(x0 + 1, y0 + 5 + s, c);
        k.px(x0 + 9, y0 + 5 + s, c);
    }
    k.px(x0 + 5, y0 + 5, QColor(255, 255, 255));
    k.caption(cx, kCaptionRow, QStringLiteral("FREEZE"));
}

void videoSettings(Kit &k, int cx)
{
    const int top = topFor(13);
    const QColor ink = k.style().ink;
    const int knobRow[3] = {3, 8, 5};
    for (int i = 0; i < 3; ++i) {
        const int x = cx - 6 + 6 * i;
        k.vline(x, top, top + 12, k.withAlpha(ink, 110));
        k.fill(QRect(x - 2, top + knobRow[i] - 1, 5, 3), ink);
        k.hline(x - 1, x + 1, top + knobRow[i], k.role('k'));
    }
    k.caption(cx, kCaptionRow, QStringLiteral("VIDEO"));
}

void goBack(Kit &k, int cx)
{
    // A U-turn arrow: out to the right and back to the left.
    QPainter &p = k.painter();
    const int top = topFor(12);
    const QColor ink = k.style().ink;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    QPainterPath path;
    const double yTop = top + 3.0, yBottom = top + 11.0, r = (yBottom - yTop) / 2;
    path.moveTo(cx - 9, yBottom);
    path.lineTo(cx + 4, yBottom);
    path.arcTo(QRectF(cx + 4 - r, yTop, 2 * r, 2 * r), -90, 180);
    path.lineTo(cx - 4, yTop);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({QPointF(cx - 9.5, yTop), QPointF(cx - 4, yTop - 4.5),
                             QPointF(cx - 4, yTop + 4.5)}));
    p.restore();
    k.caption(cx, kCaptionRow, QStringLiteral("RETURN"));
}

void aspect(Kit &k, int cx, const QString &mode)
{
    const int top = topFor(13);
    const QColor ink = k.style().ink;
    const QRect screen(cx - 8, top, 17, 13);
    const QRect inside = screen.adjusted(1, 1, -1, -1);
    if (mode == QLatin1String("full")) {
        k.picture(inside);
        k.caption(cx, kCaptionRow, QStringLiteral("FULL"));
    } else if (mode == QLatin1String("panscan")) {
        // A wide picture cropped at both sides.
        k.picture(QRect(cx - 13, inside.top(), 27, inside.height()), 90);
        k.fill(QRect(screen.left() - 1, screen.top(), 1, screen.height()), k.role('k'));
        k.fill(QRect(screen.right() + 1, screen.top(), 1, screen.height()), k.role('k'));
        k.picture(inside);
        k.caption(cx, kCaptionRow, QStringLiteral("PAN SCAN"));
    } else {
        // The whole wide picture, black bars above and below.
        k.fill(inside, k.role('k'));
        k.picture(QRect(inside.left(), inside.top() + 3, inside.width(), inside.height() - 6));
        k.caption(cx, kCaptionRow, QStringLiteral("LTRBOX"));
    }
    k.frame(screen, ink);
}

void tabIndicator(Kit &k, const QRect &face)
{
    const Look look = k.style().look;
    const QRect bar(face.left() + 2, face.top() + 3, 2, face.height() - 6);
    if (look == Look::Pressed) {
        k.fill(bar.adjusted(-1, -1, 1, 1), k.withAlpha(k.style().m.accent, 90));
        k.fill(bar, mix(k.style().m.accent, QColor(255, 255, 255), 0.3));
    } else {
        k.fill(bar, look == Look::Highlight ? k.withAlpha(k.style().m.accent, 150)
                                            : k.withAlpha(k.style().m.shadow, 150));
    }
}

} // namespace

bool drawKeyGlyph(Kit &k, const QString &stem, const QRect &face, int cx)
{
    using Fn = std::function<void(Kit &, int)>;
    static const std::map<QString, Fn> keys = {
        {"power_off", [](Kit &k, int cx) { power(k, cx, false); }},
        {"power_on", [](Kit &k, int cx) { power(k, cx, true); }},
        {"sys_reset", sysReset},
        {"reset", reset},
        {"zoom", zoom},
        {"mag", magnifier},
        {"scan_under", [](Kit &k, int cx) { scan(k, cx, false); }},
        {"scan_over", [](Kit &k, int cx) { scan(k, cx, true); }},
        {"option", options},
        {"move", move},
        {"pan", pan},
        {"size", size},
        {"expand", expand},
        {"out_cv", [](Kit &k, int cx) { outputs(k, cx, false); }},
        {"out_yuv", [](Kit &k, int cx) { outputs(k, cx, true); }},
        {"freeze_off", live},
        {"freeze_on", frozen},
        {"v_set", videoSettings},
        {"return", goBack},
        {"aspect_full", [](Kit &k, int cx) { aspect(k, cx, QStringLiteral("full")); }},
        {"aspect_panscan", [](Kit &k, int cx) { aspect(k, cx, QStringLiteral("panscan")); }},
        {"aspect_letterbox", [](Kit &k, int cx) { aspect(k, cx, QStringLiteral("letterbox")); }},
    };
    if (stem.startsWith('2')) {
        // Page tabs: the key's pictogram beside a light that shows the open page.
        const auto it = keys.find(stem.mid(1));
        if (it == keys.end())
            return false;
        tabIndicator(k, face);
        it->second(k, cx + 2);
        return true;
    }
    const auto it = keys.find(stem);
    if (it == keys.end())
        return false;
    it->second(k, cx);
    return true;
}

} // namespace artwork
