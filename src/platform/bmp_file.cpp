#include "platform/bmp_file.h"

#include "platform/regular_file.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// Far more than a screen-sized picture needs.
constexpr qint64 kMaxBmpBytes = 64 * 1024 * 1024;

}  // namespace

QImage decode_bmp(const QByteArray& bytes, QString* error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "BMP");
    // Naming the format is not enough: with detection on, the reader loads
    // every image plugin (and the libraries behind them) to ask whether it
    // reads BMP too, which costs start-up several milliseconds.
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull() && error)
        *error = reader.errorString();
    return image;
}

QImage read_bmp_file(const QString& path, QString* error)
{
    const FileRead read = read_regular_file(path, kMaxBmpBytes);
    if (read.status == FileRead::Status::Read)
        return decode_bmp(read.bytes, error);
    if (error)
        *error = read.status == FileRead::Status::Missing ? QStringLiteral("File not found") : read.problem;
    return QImage();
}
