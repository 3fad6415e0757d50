#pragma once
// Reading a BMP picture with Qt's own reader and nothing else.

#include <QImage>
#include <QString>

// The picture in the BMP file at `path`; a null image on failure, with the
// reason in `error` when given.
QImage read_bmp(const QString& path, QString* error = nullptr);
