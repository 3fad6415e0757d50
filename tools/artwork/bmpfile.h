// 24-bit uncompressed BMP output. Written by hand rather than through
// QImage::save so the header fields and the bytes never depend on the Qt
// version or on the source image format.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace artwork {

// Encodes the colour of every pixel (alpha ignored) as a bottom-up BI_RGB
// bitmap with rows padded to four bytes.
QByteArray encodeBmp24(const QImage &image);

// Writes atomically; on failure returns false and describes why in *error.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error);

} // namespace artwork
