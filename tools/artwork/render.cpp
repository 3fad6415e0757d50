#include "render.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSet>

#include "appicon.h"
#include "bmpfile.h"
#include "magnifier.h"
#include "panels.h"
#include "pointer.h"
#include "skinbuttons.h"

namespace artwork {

QImage renderItem(const Item &item, QString *error)
{
    QImage img;
    switch (item.kind) {
    case Kind::SkinButton: img = renderSkinButton(item, error); break;
    case Kind::Refresh: img = renderRefresh(item); break;
    case Kind::Magnifier: img = renderMagnifierButton(item, error); break;
    case Kind::WindowIcon: img = renderWindowIcon(item.width); break;
    case Kind::DragPointer: img = renderDragPointer(); break;
    case Kind::Panel: img = renderPanel(item.skin); break;
    case Kind::AppIcon: img = renderAppIcon(item.width); break;
    }
    if (img.isNull()) {
        if (error->isEmpty())
            *error = QStringLiteral("nothing drawn for %1").arg(item.name);
        return {};
    }
    if (img.size() != QSize(item.width, item.height)) {
        *error = QStringLiteral("%1 came out %2 x %3, expected %4 x %5")
                     .arg(item.name)
                     .arg(img.width())
                     .arg(img.height())
                     .arg(item.width)
                     .arg(item.height);
        return {};
    }
    return img;
}

namespace {

QByteArray encodePng(const QImage &image, QString *error)
{
    QImage img = image.convertToFormat(QImage::Format_ARGB32);
    // Fixed metadata: no text chunks, a fixed resolution.
    img.setDotsPerMeterX(2835);
    img.setDotsPerMeterY(2835);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(img)) {
        *error = writer.errorString();
        return {};
    }
    return bytes;
}

} // namespace

bool writeAll(const QString &root, QString *error)
{
    const QDir dir(root);
    for (const Item &item : inventory()) {
        const QString path = dir.filePath(item.relativePath());
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            *error = QStringLiteral("cannot create the folder for %1").arg(path);
            return false;
        }
        const QImage img = renderItem(item, error);
        if (img.isNull())
            return false;
        const QByteArray bytes = item.kind == Kind::AppIcon ? encodePng(img, error) : encodeBmp24(img);
        if (bytes.isEmpty()) {
            *error = QStringLiteral("cannot encode %1: %2").arg(item.name, *error);
            return false;
        }
        if (!writeFileAtomically(path, bytes, error))
            return false;
    }
    return true;
}

QStringList strayFiles(const QString &root)
{
    QSet<QString> known;
    for (const Item &item : inventory())
        known.insert(item.relativePath());
    QStringList stray;
    const QDir dir(root);
    const struct { const char *folder; const char *pattern; } owned[] = {
        {"resources/pictures", "*"}, {"bmp", "*.bmp"}, {"resources/icons", "qv742-*.png"}};
    for (const auto &o : owned) {
        const QDir sub(dir.filePath(QLatin1String(o.folder)));
        for (const QString &name :
             sub.entryList({QLatin1String(o.pattern)}, QDir::Files | QDir::Hidden, QDir::Name)) {
            const QString rel = QLatin1String(o.folder) + '/' + name;
            if (!known.contains(rel))
                stray << rel;
        }
    }
    return stray;
}

} // namespace artwork
