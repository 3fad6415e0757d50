// Checks the committed panel bitmaps: that every picture the panel asks for is there once, in the format and size it
// expects, that the window outline holds, and that the generator still produces what is committed.
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <functional>

#include "inventory.h"
#include "samepicture.h"

using namespace artwork;

namespace {

const QString kRoot = QStringLiteral(QV742_SOURCE_ROOT);

struct Bmp {
    QString problem; // empty when the file is a well-formed 24-bit BI_RGB bitmap
    QImage image;
};

// Checks the headers byte by byte, since an image loader would happily
// accept other depths or compressions; the pixels are then read as the panel does.
Bmp readBmp(const QString &path)
{
    QFile f(path);
    const QByteArray b = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    const auto u = [&](int at, int bytes) {
        quint32 v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = v << 8 | quint8(b[at + i]);
        return v;
    };
    if (b.size() < 54 || !b.startsWith("BM"))
        return {QStringLiteral("not a BMP file"), {}};
    const qint32 w = qint32(u(18, 4)), h = qint32(u(22, 4));
    const quint64 pixelBytes = quint64((quint32(w) * 3 + 3) & ~3u) * quint32(std::abs(h));
    if (u(14, 4) < 40 || u(26, 2) != 1 || u(28, 2) != 24 || u(30, 4) != 0 || w <= 0 || h == 0
        || u(2, 4) != quint32(b.size()) || u(10, 4) < 54 || u(10, 4) + pixelBytes > quint64(b.size()))
        return {QStringLiteral("not an uncompressed 24-bit bitmap of its size; header ") + b.left(54).toHex(), {}};
    return {{}, QImage::fromData(b, "BMP").convertToFormat(QImage::Format_RGB32)};
}

QString pathOf(const Item &item, const QString &root = kRoot) { return QDir(root).filePath(item.relativePath()); }

QImage pixelsOf(const Item &item, const QString &root = kRoot)
{
    return item.kind == Kind::AppIcon ? QImage(pathOf(item, root)) : readBmp(pathOf(item, root)).image;
}

QImage pixelsNamed(const QString &name)
{
    for (const Item &i : inventory())
        if (i.name == name)
            return pixelsOf(i);
    return {};
}

bool isWhite(QRgb p) { return (p & 0xffffff) == 0xffffff; }

} // namespace

// The first pixel whose neighbourhood is (plain) or is not (edge) one colour.
QPoint firstPixel(const QImage &img, bool edge)
{
    for (int i = 0; i < img.width() * img.height(); ++i) {
        const int x = i % img.width(), y = i / img.width();
        bool plain = true;
        for (int d = 0; d < 9; ++d)
            plain = plain && img.pixel(std::clamp(x + d % 3 - 1, 0, img.width() - 1),
                                       std::clamp(y + d / 3 - 1, 0, img.height() - 1)) == img.pixel(x, y);
        if (plain != edge)
            return {x, y};
    }
    return {};
}

void nudge(QImage &img, QPoint at, int levels)
{
    const QRgb p = img.pixel(at);
    img.setPixel(at, qRgba(qRed(p), qGreen(p) + (qGreen(p) + levels > 255 ? -levels : levels), qBlue(p), qAlpha(p)));
}

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    void everyPictureIsThereOnceInItsFormatAndSize()
    {
        // Looked up case-insensitively by the panel, so two spellings of one
        // name would make the choice arbitrary; and nothing stray lies among them.
        QHash<QString, QStringList> onDisk;   // lower-case relative path: the spellings found
        const struct { const char *folder; const char *pattern; } owned[] = {
            {"resources/pictures", "*"}, {"bmp", "*.bmp"}, {"resources/icons", "qv742-*"}};
        for (const auto &o : owned)
            for (const QString &name : QDir(QDir(kRoot).filePath(QLatin1String(o.folder)))
                                           .entryList({QLatin1String(o.pattern)}, QDir::Files | QDir::Hidden))
                onDisk[(QLatin1String(o.folder) + '/' + name).toLower()] << QLatin1String(o.folder) + '/' + name;
        for (const Item &item : inventory()) {
            QVERIFY2(item.name == item.name.toLower() && item.width > 0 && item.height > 0, qPrintable(item.name));
            const QStringList found = onDisk.take(item.relativePath().toLower());
            QVERIFY2(found == QStringList{item.relativePath()},
                     qPrintable(item.relativePath() + " found as: " + found.join(", ")));
            // What the panel and the desktop do with it: load it through Qt. Icons have transparent rounded corners.
            const QString path = pathOf(item);
            const QImage loaded(path);
            QVERIFY2(loaded.size() == QSize(item.width, item.height), qPrintable(path));
            QFile f(path);
            const bool png = f.open(QIODevice::ReadOnly) && f.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8);
            const QString problem = png ? QString() : readBmp(path).problem;
            QVERIFY2(problem.isEmpty() && png == path.endsWith(".png"), qPrintable(path + ": " + problem));
            QVERIFY2(!png || (loaded.hasAlphaChannel() && qAlpha(loaded.pixel(0, 0)) == 0), qPrintable(path));
        }
        QVERIFY2(onDisk.isEmpty(), qPrintable("stray: " + QStringList(onDisk.keys()).join(", ")));
    }

    void theOutlineHolds()
    {
        // The skins cut the same corners as the outline bitmap.
        const QImage blue = pixelsNamed("blue_panel");
        QVERIFY(isWhite(blue.pixel(0, 0)) && !isWhite(blue.pixel(153, 59)));
        for (const char *name : {"1_panel", "2_panel"}) {
            const QImage skin = pixelsNamed(name);
            QCOMPARE(skin.size(), blue.size());
            for (int i = 0; i < blue.width() * blue.height(); ++i) {
                const QPoint at(i % blue.width(), i / blue.width());
                if (isWhite(blue.pixel(at)) != isWhite(skin.pixel(at)))
                    QFAIL(qPrintable(QString("%1 breaks the outline at %2,%3").arg(name).arg(at.x()).arg(at.y())));
            }
        }
    }

    void comparisonForgivesOnlyEdgeNoise()
    {
        using Change = std::function<void(QImage &fresh, const QImage &committed)>;
        const auto nudged = [](bool edge, int levels) -> Change {
            return [=](QImage &fresh, const QImage &committed) { nudge(fresh, firstPixel(committed, edge), levels); };
        };
        const Change ink = [](QImage &fresh, const QImage &committed) { // the glyph's ink, wherever it is
            const QRgb ink = committed.pixel(committed.width() / 2, committed.height() / 2);
            for (int i = 0; i < fresh.width() * fresh.height(); ++i)
                if (committed.pixel(i % fresh.width(), i / fresh.width()) == ink)
                    nudge(fresh, {i % fresh.width(), i / fresh.width()}, kEdgeNoiseLevels + 1);
        };
        // Edge noise passes; a plain area one level off, a colour, another glyph or an icon's filled corner do not.
        const struct { const char *name; Change change; bool accepted; } cases[] = {
            {"1_zoom5_on_0", [](QImage &, const QImage &) {}, true},
            {"1_zoom5_on_0", nudged(true, kEdgeNoiseLevels), true},
            {"1_zoom5_on_0", nudged(true, kEdgeNoiseLevels + 1), false},
            {"blue_panel", nudged(false, 1), false},
            {"1_zoom5_on_0", ink, false},
            {"1_zoom5_on_0", [](QImage &f, const QImage &) { f = pixelsNamed("1_zoom6_on_0"); }, false},
            {"qv742-256", [](QImage &f, const QImage &c) { f.setPixel(0, 0, c.pixel(0, 0) | 0xff000000); }, false},
        };
        for (const auto &row : cases) {
            const auto &[name, change, accepted] = row;
            const QImage committed = pixelsNamed(name).convertToFormat(QImage::Format_ARGB32);
            QImage fresh = committed;
            change(fresh, committed);
            const QString difference = pictureDifference(committed, fresh);
            QVERIFY2(difference.isEmpty() == accepted, qPrintable(QString::number(&row - cases) + ": " + difference));
        }
    }

    // Pixels, not bytes: PNG bytes depend on the zlib build. The BMP reader is strict about the format.
    void generatorReproducesTheCommittedFilesOrFails()
    {
        QTemporaryDir out;
        QFile blocker(out.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        for (const QString &folder : {blocker.fileName(), out.path()}) {
            QProcess gen;
            gen.start(QStringLiteral(QV742_ARTGEN), {QStringLiteral("--out"), folder});
            QVERIFY2(gen.waitForFinished(120000), "generator did not finish");
            const QByteArray errors = gen.readAllStandardError();
            const bool written = gen.exitStatus() == QProcess::NormalExit && gen.exitCode() == 0;
            QVERIFY2(folder == out.path() ? written : !written && !errors.isEmpty(), errors.constData());
        }
        QStringList changed;
        for (const Item &item : inventory()) {
            const QString difference = pictureDifference(pixelsOf(item), pixelsOf(item, out.path()));
            if (!difference.isEmpty())
                changed << item.relativePath() + ": " + difference;
        }
        QVERIFY2(changed.isEmpty(),
                 qPrintable("regenerate with the `artwork` target and commit:\n" + changed.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestArtwork)
#include "tst_artwork.moc"
