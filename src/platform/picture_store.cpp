#include "platform/picture_store.h"

#include "platform/bmp_file.h"

#include <QResource>

PictureStore::PictureStore(const QString& prefix) : prefix_(prefix) {}

// The embedded pictures have lower-case names, so a name leads straight to
// its file: nothing is listed at start-up.
QString PictureStore::path_of(const QString& name) const
{
    return prefix_ + QLatin1Char('/') + name.toLower() + QStringLiteral(".bmp");
}

bool PictureStore::contains(const QString& name) const
{
    return QResource(path_of(name)).isValid();
}

QPixmap PictureStore::pixmap(const QString& name)
{
    const QString key = name.toLower();
    const auto cached = cache_.constFind(key);
    if (cached != cache_.constEnd())
        return *cached;
    const QPixmap pixmap = QPixmap::fromImage(image(key));
    cache_.insert(key, pixmap);
    return pixmap;
}

// Decoded where the program holds it: the pictures are stored uncompressed.
QImage PictureStore::image(const QString& name) const
{
    const QResource picture(path_of(name));
    return picture.isValid() ? decode_bmp(picture.uncompressedData()) : QImage();
}
