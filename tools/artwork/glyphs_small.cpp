// Pictograms of the smaller pictures: window buttons, the arrow pad, the
// port buttons, the zoom cells and the connection indicator.
#include <QPainterPath>
#include <QRadialGradient>
#include <vector>

#include "glyphs.h"
#include "pixelfont.h"

namespace artwork {

namespace {

using Rows = std::vector<std::string>;

// Pixel art placed so its middle lands on the middle of the face.
void centred(Kit &k, const QRect &face, const Rows &rows)
{
    const int h = int(rows.size()), w = int(rows.front().size());
    const int x = face.left() + (face.width() - w) / 2;
    const int y = face.top() + (face.height() - h) / 2;
    for (int r = 0; r < h; ++r)
        for (int i = 0; i < w; ++i) {
            const QColor c = k.role(rows[r][i]);
            if (c.alpha())
                k.px(x + i, y + r, c);
        }
}

Rows rotateClockwise(const Rows &in)
{
    const int h = int(in.size()), w = int(in.front().size());
    Rows out(w, std::string(h, '.'));
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            out[c][h - 1 - r] = in[r][c];
    return out;
}

const Rows &arrowUpRows()
{
    static const Rows rows = {
        ".....##.....",
        "....####....",
        "...######...",
        "..########..",
        ".##########.",
        "############",
        "....####....",
        "....####....",
        "....####....",
        "....####....",
    };
    return rows;
}

void arrow(Kit &k, const QRect &face, int quarterTurns)
{
    Rows rows = arrowUpRows();
    for (int i = 0; i < quarterTurns; ++i)
        rows = rotateClockwise(rows);
    centred(k, face, rows);
}

void centreMark(Kit &k, const QRect &face)
{
    QPainter &p = k.painter();
    const QPointF c(face.left() + face.width() / 2.0, face.top() + face.height() / 2.0);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(k.style().ink, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 5.2, 5.2);
    p.setPen(Qt::NoPen);
    p.setBrush(k.style().ink);
    p.drawEllipse(c, 2.0, 2.0);
    p.restore();
}

void led(Kit &k, int x, int y, const QColor &lit, bool on)
{
    QPainter &p = k.painter();
    if (on) {
        QRadialGradient halo(QPointF(x + 2.5, y + 2.5), 5.5);
        halo.setColorAt(0, k.withAlpha(lit, 150));
        halo.setColorAt(1, k.withAlpha(lit, 0));
        p.fillRect(QRectF(x - 3, y - 3, 11, 11), halo);
    }
    // An unlit lamp is a dark grey-green glass bead, not a dim version of the lit one.
    const QColor body = on ? lit : mix(mix(lit, QColor(60, 60, 60), 0.7), QColor(0, 0, 0), 0.55);
    const QColor rim = on ? mix(lit, QColor(0, 0, 0), 0.25) : QColor(10, 10, 10);
    static const char *rows[] = {".ooo.", "ohooo", "ooooo", "ooooo", ".ooo."};
    for (int r = 0; r < 5; ++r)
        for (int i = 0; i < 5; ++i) {
            const char c = rows[r][i];
            if (c == '.')
                continue;
            QColor col = body;
            if (c == 'h')
                col = on ? QColor(255, 255, 255) : mix(body, QColor(255, 255, 255), 0.3);
            else if (r == 0 || r == 4 || i == 0 || i == 4)
                col = rim;
            k.px(x + i, y + r, col);
        }
}

void port(Kit &k, const QRect &face, int number, bool open)
{
    const int y = face.top() + (face.height() - 7) / 2;
    led(k, face.left() + 3, y + 1, signal::green(), open);
    pixelfont::drawText(k.painter(), pixelfont::Face::Digits, face.left() + 10, y,
                        QString::number(number), k.style().ink);
}

void plug(Kit &k, int x, int y, bool connected, const QColor &ink)
{
    // Cable, plug with prongs, socket, cable; pushed together when connected.
    const QColor body = ink, dark = k.role('k');
    if (connected) {
        k.hline(x, x + 2, y + 2, body);
        k.fill(QRect(x + 3, y, 4, 5), body);
        k.px(x + 7, y + 1, body);
        k.px(x + 7, y + 3, body);
        k.fill(QRect(x + 8, y, 4, 5), body);
        k.vline(x + 8, y, y + 4, mix(body, dark, 0.4));
        k.hline(x + 12, x + 14, y + 2, body);
    } else {
        k.hline(x, x + 1, y + 2, body);
        k.fill(QRect(x + 2, y, 4, 5), body);
        k.hline(x + 6, x + 7, y + 1, body);
        k.hline(x + 6, x + 7, y + 3, body);
        k.fill(QRect(x + 10, y, 4, 5), body);
        k.px(x + 10, y + 1, dark);
        k.px(x + 10, y + 3, dark);
        k.px(x + 14, y + 2, body);
    }
}

void connection(Kit &k, const QRect &face, bool on)
{
    const int y = face.top() + (face.height() - 5) / 2;
    led(k, face.left() + 3, y, on ? signal::green() : signal::red(), true);
    plug(k, face.left() + 11, y, on, on ? k.style().ink : k.withAlpha(k.style().ink, 170));
}

} // namespace

bool drawSmallGlyph(Kit &k, const QString &stem, const QRect &face)
{
    const QColor ink = k.style().ink;
    if (stem == QLatin1String("close")) {
        centred(k, face, {"##....##", ".##..##.", "..####..", "...##...", "..####..",
                          ".##..##.", "##....##"});
    } else if (stem == QLatin1String("min")) {
        k.fill(QRect(face.left() + 5, face.top() + 9, 8, 2), ink);
    } else if (stem == QLatin1String("sys_tray")) {
        // Down into the tray.
        centred(k, face, {"...##...", "...##...", ".######.", "..####..", "...##...",
                          "#......#", "########"});
    } else if (stem == QLatin1String("help")) {
        const int w = pixelfont::textWidth(pixelfont::Face::Digits, QStringLiteral("?"), true);
        pixelfont::drawText(k.painter(), pixelfont::Face::Digits,
                            face.left() + (face.width() - w) / 2, face.top() + (face.height() - 7) / 2,
                            QStringLiteral("?"), ink, true);
    } else if (stem == QLatin1String("up")) {
        arrow(k, face, 0);
    } else if (stem == QLatin1String("right")) {
        arrow(k, face, 1);
    } else if (stem == QLatin1String("down")) {
        arrow(k, face, 2);
    } else if (stem == QLatin1String("left")) {
        arrow(k, face, 3);
    } else if (stem == QLatin1String("default")) {
        centreMark(k, face);
    } else if (stem.startsWith(QLatin1String("com"))) {
        port(k, face, stem.mid(3, 1).toInt(), stem.endsWith(QLatin1String("_on")));
    } else if (stem.startsWith(QLatin1String("zoom")) && stem.size() >= 8) {
        // The chosen area is lit; its digit turns dark on the bright face.
        const QString digit = stem.mid(4, 1);
        const bool chosen = stem.endsWith(QLatin1String("_on"));
        const int w = pixelfont::textWidth(pixelfont::Face::Big, digit);
        pixelfont::drawText(k.painter(), pixelfont::Face::Big, face.left() + (face.width() - w + 1) / 2,
                            face.top() + (face.height() - 11 + 1) / 2, digit,
                            chosen ? k.style().m.edge : ink);
    } else if (stem == QLatin1String("connect_on") || stem == QLatin1String("connect_off")) {
        connection(k, face, stem.endsWith(QLatin1String("_on")));
    } else {
        return false;
    }
    return true;
}

void drawTwinArrows(Kit &k, double cx, double cy, double r, const QColor &c, double width)
{
    QPainter &p = k.painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF box(cx - r, cy - r, 2 * r, 2 * r);
    for (int half = 0; half < 2; ++half) {
        // Each arrow runs clockwise over most of a half turn.
        const double start = half == 0 ? 160 : -20;
        const double sweep = -130;
        p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath arc;
        arc.arcMoveTo(box, start);
        arc.arcTo(box, start, sweep);
        p.drawPath(arc);
        const double a = (start + sweep) * M_PI / 180.0;
        const QPointF end(cx + r * std::cos(a), cy - r * std::sin(a));
        const QPointF dir(std::sin(a), std::cos(a));
        const QPointF normal(-dir.y(), dir.x());
        const double len = 1.6 + 1.4 * width, halfW = 1.2 + 1.1 * width;
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPolygon(QPolygonF({end + dir * len, end + normal * halfW, end - normal * halfW}));
    }
    p.restore();
}

} // namespace artwork
