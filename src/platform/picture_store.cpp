#include "platform/picture_store.h"

#include <QDir>
#include <QFileInfo>

PictureStore::PictureStore(const QString& prefix)
{
    const QDir dir(prefix);
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files))
        paths_.insert(file.completeBaseName().toLower(), file.filePath());
}

bool PictureStore::contains(const QString& name) const
{
    return paths_.contains(name.toLower());
}

QPixmap PictureStore::pixmap(const QString& name)
{
    const QString key = name.toLower();
    const auto cached = cache_.constFind(key);
    if (cached != cache_.constEnd())
        return *cached;
    const auto path = paths_.constFind(key);
    if (path == paths_.constEnd())
        return {};
    const QPixmap pixmap(*path, "BMP");  // naming the format skips probing every image plugin
    cache_.insert(key, pixmap);
    return pixmap;
}

QImage PictureStore::image(const QString& name) const
{
    const auto path = paths_.constFind(name.toLower());
    return path == paths_.constEnd() ? QImage() : QImage(*path, "BMP");
}
