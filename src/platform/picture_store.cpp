#include "platform/picture_store.h"

#include "platform/bmp_file.h"

#include <QFileInfo>

PictureStore::PictureStore(const QString& prefix) : prefix_(prefix) {}

// The embedded pictures have lower-case names, so a name leads straight to
// its file: nothing is listed at start-up.
QString PictureStore::path_of(const QString& name) const
{
    return prefix_ + QLatin1Char('/') + name.toLower() + QStringLiteral(".bmp");
}

bool PictureStore::contains(const QString& name) const
{
    return QFileInfo::exists(path_of(name));
}

QPixmap PictureStore::pixmap(const QString& name)
{
    const QString key = name.toLower();
    const auto cached = cache_.constFind(key);
    if (cached != cache_.constEnd())
        return *cached;
    const QPixmap pixmap = QPixmap::fromImage(read_bmp(path_of(key)));
    cache_.insert(key, pixmap);
    return pixmap;
}

QImage PictureStore::image(const QString& name) const
{
    return read_bmp(path_of(name));
}
