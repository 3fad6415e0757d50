#include "platform/bmp_file.h"

#include <QImageReader>

QImage read_bmp(const QString& path, QString* error)
{
    QImageReader reader(path, "BMP");
    // Naming the format is not enough: with detection on, the reader loads
    // every image plugin (and the libraries behind them) to ask whether it
    // reads BMP too, which costs start-up several milliseconds.
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull() && error)
        *error = reader.errorString();
    return image;
}
