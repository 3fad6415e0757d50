#pragma once
// Reading BMP pictures with Qt's own reader and nothing else.

#include <QByteArray>
#include <QImage>
#include <QString>

// The picture the BMP bytes hold; a null image on failure, with the reason
// in `error` when given.
QImage decode_bmp(const QByteArray& bytes, QString* error = nullptr);

// The picture in the BMP file at `path`, read only when it is a regular file
// of a picture's size: a named pipe or a link to /dev/zero among the user's
// bitmaps must not hang the start.
QImage read_bmp_file(const QString& path, QString* error = nullptr);
