#include "preview.h"

#include <QDir>
#include <QFont>
#include <QMap>
#include <QPainter>

#include "inventory.h"
#include "layout.h"
#include "magnifier.h"
#include "render.h"

namespace artwork {

namespace {

class Pictures {
public:
    QImage get(const QString &name)
    {
        if (!cache_.contains(name)) {
            QImage img;
            for (const Item &item : inventory())
                if (item.name == name) {
                    QString error;
                    img = renderItem(item, &error);
                }
            if (img.isNull()) { // make a missing picture impossible to overlook
                img = QImage(16, 16, QImage::Format_RGB32);
                img.fill(Qt::red);
            }
            cache_.insert(name, img);
        }
        return cache_.value(name);
    }

private:
    QMap<QString, QImage> cache_;
};

QString pictureName(const QString &skin, const QString &stem, int state)
{
    return skin + '_' + stem + '_' + QString::number(state);
}

void label(QPainter &p, const QRect &r, const QString &text, const QColor &c, int alignment)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, alignment | Qt::AlignVCenter, text);
}

void place(QPainter &p, Pictures &pics, const QString &skin, const layout::Spot &s, int state,
           const QString &stem = {})
{
    p.drawImage(s.x, s.y, pics.get(pictureName(skin, stem.isEmpty() ? QLatin1String(s.stem) : stem, state)));
}

QImage panelWithFrame(Pictures &pics, const QString &skin, const QString &title,
                      const QString &message)
{
    QImage img = pics.get(skin + QStringLiteral("_panel")).convertToFormat(QImage::Format_RGB32);
    QPainter p(&img);
    for (const auto &s : layout::rightColumn())
        place(p, pics, skin, s, s.stem == QLatin1String("min") ? 1 : 0);
    place(p, pics, skin, layout::comPorts()[0], 0);
    place(p, pics, skin, layout::comPorts()[1], 0);
    p.drawImage(layout::connectIndicator().topLeft(), pics.get(pictureName(skin, QStringLiteral("connect_on"), 0)));
    label(p, layout::titleText(), title, QColor(0, 128, 0), Qt::AlignHCenter);
    label(p, layout::messageText(), message, QColor(192, 0, 192), Qt::AlignHCenter);
    return img;
}

QImage mainPage(Pictures &pics, const QString &skin)
{
    QImage img = panelWithFrame(pics, skin, QStringLiteral("Main"), QStringLiteral("Box answered"));
    QPainter p(&img);
    for (const auto &s : layout::mainPage())
        place(p, pics, skin, s, s.stem == QLatin1String("mag") ? 1 : 0);
    // The ports sit over the bottom of the last key; draw them on top as the panel does.
    place(p, pics, skin, layout::comPorts()[0], 0);
    place(p, pics, skin, layout::comPorts()[1], 0);
    return img;
}

QImage positionPage(Pictures &pics, const QString &skin)
{
    QImage img = panelWithFrame(pics, skin, QStringLiteral("Move"), QStringLiteral("H 12  V -4"));
    QPainter p(&img);
    for (const auto &s : layout::arrowPad())
        place(p, pics, skin, s, s.stem == QLatin1String("right") ? 1 : 0);
    for (const auto &s : layout::subPageButtons()) {
        const QString stem = QLatin1String(s.stem);
        place(p, pics, skin, s, stem == QLatin1String("2move") ? 2 : 0);
    }
    place(p, pics, skin, layout::comPorts()[0], 0);
    place(p, pics, skin, layout::comPorts()[1], 0);
    const QColor text = skin == QLatin1String("2") ? Qt::white : Qt::black;
    label(p, QRect(106, 36, 80, 14), QStringLiteral("Horizontal"), text, Qt::AlignLeft);
    label(p, QRect(106, 52, 80, 14), QStringLiteral("12"), QColor(200, 0, 0), Qt::AlignLeft);
    label(p, QRect(106, 68, 80, 14), QStringLiteral("Vertical"), text, Qt::AlignLeft);
    label(p, QRect(106, 84, 80, 14), QStringLiteral("-4"), text, Qt::AlignLeft);
    return img;
}

QImage zoomPage(Pictures &pics, const QString &skin)
{
    QImage img = panelWithFrame(pics, skin, QStringLiteral("Zoom"), QStringLiteral("Area 5"));
    QPainter p(&img);
    for (int n = 1; n <= 9; ++n) {
        const QString stem = QStringLiteral("zoom%1_%2").arg(n).arg(n == 5 ? "on" : "off");
        p.drawImage(layout::zoomCell(n).topLeft(), pics.get(pictureName(skin, stem, n == 3 ? 1 : 0)));
    }
    p.drawImage(231, 70, pics.get(pictureName(skin, QStringLiteral("return"), 0)));
    const QColor text = skin == QLatin1String("2") ? Qt::white : Qt::black;
    label(p, QRect(20, 40, 90, 14), QStringLiteral("Zoom area"), text, Qt::AlignLeft);
    label(p, QRect(20, 56, 90, 14), QStringLiteral("x2"), text, Qt::AlignLeft);
    return img;
}

// Every picture with the given prefix (or none), states side by side.
QImage contactSheet(Pictures &pics, const QString &skin, const QColor &background)
{
    QList<QList<QImage>> rows;
    QMap<QString, int> rowOf;
    for (const Item &item : inventory()) {
        const bool mine = skin.isEmpty() ? (item.skin.isEmpty() && item.kind != Kind::Panel)
                                         : (item.skin == skin && item.kind == Kind::SkinButton);
        if (!mine)
            continue;
        const QString key = item.stem.isEmpty() ? item.name : item.kind == Kind::Magnifier ? "m_" + item.stem : item.stem;
        if (!rowOf.contains(key)) {
            rowOf.insert(key, rows.size());
            rows.append(QList<QImage>());
        }
        rows[rowOf.value(key)].append(pics.get(item.name));
    }
    const int width = 560, gap = 4;
    int x = gap, y = gap, lineH = 0;
    QList<QPair<QPoint, QList<QImage>>> placed;
    for (const auto &group : rows) {
        int gw = 0, gh = 0;
        for (const QImage &img : group) {
            gw += img.width() + 1;
            gh = std::max(gh, img.height());
        }
        if (x + gw > width) {
            x = gap;
            y += lineH + gap;
            lineH = 0;
        }
        placed.append({QPoint(x, y), group});
        x += gw + gap * 2;
        lineH = std::max(lineH, gh);
    }
    QImage sheet(width, y + lineH + gap, QImage::Format_RGB32);
    sheet.fill(background);
    QPainter p(&sheet);
    for (const auto &pl : placed) {
        int gx = pl.first.x();
        for (const QImage &img : pl.second) {
            p.drawImage(gx, pl.first.y(), img);
            gx += img.width() + 1;
        }
    }
    return sheet;
}

// Small pictures blown up so single pixels can be judged.
QImage detail(Pictures &pics)
{
    const QStringList names = {"m_drag", "icon", "qv742-16", "qv742-32", "1_com1_on_0", "1_com2_off_0",
                               "2_com1_on_0", "1_zoom5_on_0", "1_zoom7_off_0", "2_zoom4_off_1",
                               "1_help_0", "2_sys_tray_0", "1_connect_off_0"};
    const int scale = 6, gap = 8;
    int w = gap, h = 0;
    for (const QString &n : names) {
        const QImage img = pics.get(n);
        w += img.width() * scale + gap;
        h = std::max(h, img.height() * scale);
    }
    QImage sheet(std::min(w, 1400), 2 * (h + gap) + gap, QImage::Format_RGB32);
    sheet.fill(QColor(128, 128, 128));
    QPainter p(&sheet);
    int x = gap, y = gap;
    for (const QString &n : names) {
        const QImage img = pics.get(n);
        const QImage big = img.scaled(img.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (x + big.width() > sheet.width()) {
            x = gap;
            y += h + gap;
        }
        p.drawImage(x, y, big);
        x += big.width() + gap;
    }
    return sheet;
}

bool save(const QImage &img, const QString &dir, const QString &name, QString *error)
{
    const QString path = QDir(dir).filePath(name);
    const QImage big = img.scaled(img.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!img.save(path + ".png") || !big.save(path + "_x3.png")) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace

bool writePreviews(const QString &dir, QString *error)
{
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("cannot create %1").arg(dir);
        return false;
    }
    Pictures pics;
    for (const QString &skin : skins()) {
        if (!save(mainPage(pics, skin), dir, "main_" + skin, error)
            || !save(positionPage(pics, skin), dir, "position_" + skin, error)
            || !save(zoomPage(pics, skin), dir, "zoom_" + skin, error)
            || !save(contactSheet(pics, skin, skin == QLatin1String("1") ? QColor(214, 174, 122) : QColor(32, 26, 52)),
                     dir, "sheet_" + skin, error))
            return false;
    }
    if (!detail(pics).save(QDir(dir).filePath(QStringLiteral("detail.png")))) {
        *error = QStringLiteral("cannot write the detail sheet into %1").arg(dir);
        return false;
    }
    return save(contactSheet(pics, {}, magnifierStripColour()), dir, "sheet_shared", error);
}

} // namespace artwork
