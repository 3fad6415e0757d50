#include "bmpfile.h"

#include <QSaveFile>

namespace artwork {

namespace {

void put16(QByteArray &out, quint16 v)
{
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void put32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

constexpr quint32 kHeaderBytes = 14 + 40;
constexpr quint32 k72DpiInPixelsPerMetre = 2835;

} // namespace

QByteArray encodeBmp24(const QImage &image)
{
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    const int w = src.width();
    const int h = src.height();
    const quint32 rowBytes = (quint32(w) * 3 + 3) & ~3u;
    const quint32 pixelBytes = rowBytes * quint32(h);

    QByteArray out;
    out.reserve(int(kHeaderBytes + pixelBytes));
    // BITMAPFILEHEADER
    out.append("BM", 2);
    put32(out, kHeaderBytes + pixelBytes);
    put16(out, 0);
    put16(out, 0);
    put32(out, kHeaderBytes);
    // BITMAPINFOHEADER; a positive height means rows are stored bottom-up.
    put32(out, 40);
    put32(out, quint32(w));
    put32(out, quint32(h));
    put16(out, 1);   // planes
    put16(out, 24);  // bits per pixel
    put32(out, 0);   // BI_RGB
    put32(out, pixelBytes);
    put32(out, k72DpiInPixelsPerMetre);
    put32(out, k72DpiInPixelsPerMetre);
    put32(out, 0);   // no palette
    put32(out, 0);

    for (int y = h - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(char(qBlue(line[x])));
            out.append(char(qGreen(line[x])));
            out.append(char(qRed(line[x])));
        }
        for (quint32 pad = quint32(w) * 3; pad < rowBytes; ++pad)
            out.append('\0');
    }
    return out;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace artwork
