// Checks the committed panel bitmaps: that every picture the panel asks for is
// there once, in the format and size it expects, that the two skins match,
// that the window outline holds, that states are told apart, and that the
// generator still produces what is committed.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <vector>

#include "inventory.h"
#include "layout.h"
#include "samepicture.h"

using namespace artwork;

namespace {

const QString kRoot = QStringLiteral(QV742_SOURCE_ROOT);

struct Bmp {
    QString problem; // empty when the file is a well-formed 24-bit BI_RGB bitmap
    QImage image;
};

// Reads the headers byte by byte rather than trusting an image loader, which
// would happily accept other depths or compressions.
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
    const quint32 offset = u(10, 4), bits = u(28, 2), compression = u(30, 4);
    const qint32 w = qint32(u(18, 4)), h = qint32(u(22, 4));
    const int height = std::abs(h);
    const quint32 rowBytes = (quint32(w) * 3 + 3) & ~3u;
    QString problem = u(14, 4) < 40 ? QStringLiteral("old-style info header")
        : bits != 24               ? QStringLiteral("%1 bits per pixel").arg(bits)
        : compression != 0         ? QStringLiteral("compression %1").arg(compression)
        : u(26, 2) != 1            ? QStringLiteral("%1 planes").arg(u(26, 2))
        : w <= 0 || h == 0         ? QStringLiteral("size %1 x %2").arg(w).arg(h)
        : u(2, 4) != quint32(b.size()) ? QStringLiteral("header says %1 bytes, file has %2").arg(u(2, 4)).arg(b.size())
        : offset < 54 || quint64(offset) + quint64(rowBytes) * height > quint64(b.size())
            ? QStringLiteral("pixel data runs past the end")
            : QString();
    if (!problem.isEmpty())
        return {problem, {}};
    QImage image(w, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        const char *src = b.constData() + offset + row * rowBytes;
        for (int x = 0; x < w; ++x)
            image.setPixel(x, h > 0 ? height - 1 - row : row,
                           qRgb(quint8(src[3 * x + 2]), quint8(src[3 * x + 1]), quint8(src[3 * x])));
    }
    return {{}, image};
}

QString pathOf(const Item &item) { return QDir(kRoot).filePath(item.relativePath()); }
QImage panel(const char *name) { return readBmp(QDir(kRoot).filePath(QLatin1String("bmp/") + name)).image; }

QImage pixelsOf(const Item &item)
{
    if (item.kind == Kind::AppIcon)
        return QImage(pathOf(item));
    return readBmp(pathOf(item)).image;
}

const Item *findItem(const QString &name)
{
    static const std::vector<Item> items = inventory();
    for (const Item &i : items)
        if (i.name == name)
            return &i;
    return nullptr;
}

// Mean absolute difference per colour channel, 0..255.
double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 255;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                   + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

bool isWhite(QRgb p) { return (p & 0xffffff) == 0xffffff; }

double luminance(QRgb p) { return 0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p); }

// Luminances of a rectangle of a picture, darkest first.
std::vector<double> sortedLuminance(const QImage &img, const QRect &r)
{
    std::vector<double> lum;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            lum.push_back(luminance(img.pixel(x, y)));
    std::sort(lum.begin(), lum.end());
    return lum;
}

// Pictures that must look different: anything below this is a near copy.
constexpr double kClearlyDifferent = 10.0;

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    // --- committed files ---------------------------------------------------
    void bitmapIsUncompressed24BitAtItsSize_data();
    void bitmapIsUncompressed24BitAtItsSize();
    void appIconsArePngsWithTransparentCorners();
    void everyNameExistsExactlyOnce();

    // --- skins and panels --------------------------------------------------
    void skinsCarryTheSameNamesAndSizes();
    void skinPanelsFollowTheBlueOutline();
    void everythingThePanelShowsLiesInsideTheOutline();
    void textPlatesAreLightEnoughForTheLabels();

    // --- states ------------------------------------------------------------
    void highlightedAndSelectedDifferFromNormal();
    void noTwoPicturesOfASkinAreAlike();

    // --- magnifier strip and pointer ----------------------------------------
    void magnifierButtonsSitOnTheStripColour();
    void dragPointerIsCleanlyKeyedAroundItsHotSpot();

    // --- the generator --------------------------------------------------------
    void comparisonForgivesOnlyEdgeNoise_data();
    void comparisonForgivesOnlyEdgeNoise();
    void generatorReproducesTheCommittedFiles();
    void generatorReportsFailureWhenItCannotWrite();
};

void TestArtwork::bitmapIsUncompressed24BitAtItsSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    for (const Item &item : inventory())
        if (item.kind != Kind::AppIcon)
            QTest::newRow(qPrintable(item.name)) << pathOf(item) << QSize(item.width, item.height);
}

void TestArtwork::bitmapIsUncompressed24BitAtItsSize()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const Bmp bmp = readBmp(path);
    QVERIFY2(bmp.problem.isEmpty(), qPrintable(path + ": " + bmp.problem));
    QCOMPARE(bmp.image.size(), size);
    // What the panel will do with it: load it through Qt.
    const QImage loaded(path);
    QVERIFY2(!loaded.isNull(), qPrintable(path));
    QCOMPARE(loaded.convertToFormat(QImage::Format_RGB32), bmp.image);
}

void TestArtwork::appIconsArePngsWithTransparentCorners()
{
    for (const Item &item : inventory()) {
        if (item.kind != Kind::AppIcon)
            continue;
        QFile f(pathOf(item));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(item.relativePath()));
        QCOMPARE(f.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
        const QImage img(pathOf(item));
        QCOMPARE(img.size(), QSize(item.width, item.height));
        QVERIFY(img.hasAlphaChannel());
        QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 255);
    }
}

void TestArtwork::everyNameExistsExactlyOnce()
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
    }
    QVERIFY2(onDisk.isEmpty(), qPrintable("stray: " + QStringList(onDisk.keys()).join(", ")));
}

void TestArtwork::skinsCarryTheSameNamesAndSizes()
{
    // Read from disk, not from the inventory: a picture added to one skin
    // folder by hand must have its twin.
    QMap<QString, QSize> perSkin[2];
    const QDir pictures(QDir(kRoot).filePath(QStringLiteral("resources/pictures")));
    for (const QString &name : pictures.entryList({QStringLiteral("*.bmp")}, QDir::Files))
        for (int s = 0; s < 2; ++s)
            if (name.startsWith(QString::number(s + 1) + '_'))
                perSkin[s].insert(name.mid(2), readBmp(pictures.filePath(name)).image.size());
    QVERIFY(!perSkin[0].isEmpty());
    QCOMPARE(perSkin[0], perSkin[1]);
}

void TestArtwork::skinPanelsFollowTheBlueOutline()
{
    const QImage blue = panel("blue_panel.bmp");
    QCOMPARE(blue.size(), QSize(306, 118));
    int inside = 0;
    for (int y = 0; y < blue.height(); ++y)
        for (int x = 0; x < blue.width(); ++x)
            if (!isWhite(blue.pixel(x, y))) {
                QVERIFY2(blue.pixel(x, y) == blue.pixel(blue.width() / 2, blue.height() / 2),
                         "the outline bitmap is one plain colour");
                ++inside;
            }
    // Most of the panel is window; only the corners are cut.
    QVERIFY(inside > blue.width() * blue.height() * 95 / 100);
    QVERIFY(isWhite(blue.pixel(0, 0)) && isWhite(blue.pixel(blue.width() - 1, blue.height() - 1)));

    for (const char *name : {"1_panel.bmp", "2_panel.bmp"}) {
        const QImage skin = panel(name);
        QCOMPARE(skin.size(), blue.size());
        for (int y = 0; y < blue.height(); ++y)
            for (int x = 0; x < blue.width(); ++x)
                if (isWhite(blue.pixel(x, y)) != isWhite(skin.pixel(x, y)))
                    QFAIL(qPrintable(QStringLiteral("%1 breaks the outline at %2,%3").arg(QLatin1String(name)).arg(x).arg(y)));
    }
}

void TestArtwork::everythingThePanelShowsLiesInsideTheOutline()
{
    const QImage blue = panel("blue_panel.bmp");
    QList<QRect> rects = {layout::titlePlate(), layout::messagePlate(), layout::connectIndicator()};
    for (const auto &spots : {layout::rightColumn(), layout::mainPage(), layout::comPorts(),
                              layout::arrowPad(), layout::subPageButtons()})
        for (const auto &s : spots)
            rects << s.rect();
    for (int n = 1; n <= 9; ++n)
        rects << layout::zoomCell(n);
    for (const QRect &r : rects)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                QVERIFY2(blue.valid(x, y) && !isWhite(blue.pixel(x, y)),
                         qPrintable(QStringLiteral("%1,%2 of %3,%4 %5x%6 is outside the window")
                                        .arg(x).arg(y).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())));
}

void TestArtwork::textPlatesAreLightEnoughForTheLabels()
{
    for (const char *name : {"1_panel.bmp", "2_panel.bmp"}) {
        const QImage img = panel(name);
        // Dark green and magenta text is drawn there with no background of its own.
        for (const QRect &r : {layout::titleText(), layout::messageText()}) {
            const double darkest = sortedLuminance(img, r).front();
            QVERIFY2(darkest > 180, qPrintable(QStringLiteral("%1: a pixel of luminance %2 behind the text")
                                                   .arg(QLatin1String(name)).arg(darkest)));
        }
        // Sub-pages write black labels on the wood and white ones on the
        // flowers, straight onto the background: nearly all of it must suit that text.
        const std::vector<double> lum = sortedLuminance(img, layout::subPageText());
        const bool wood = name[0] == '1';
        const double patch = wood ? lum[lum.size() * 2 / 100] : lum[lum.size() * 98 / 100];
        QVERIFY2(wood ? patch > 130 : patch < 100,
                 qPrintable(QStringLiteral("%1: %2 patches (%3)").arg(QLatin1String(name), wood ? "dark" : "bright").arg(patch)));
    }
}

void TestArtwork::highlightedAndSelectedDifferFromNormal()
{
    int onOff = 0;
    for (const Item &item : inventory()) {
        // On and off pictures of one thing differ.
        if (item.stem.endsWith(QLatin1String("_on"))) {
            const Item *off = findItem(QString(item.name).replace(QStringLiteral("_on_"), QStringLiteral("_off_")));
            QVERIFY2(off, qPrintable(item.name + " has no off picture"));
            const double d = meanDifference(pixelsOf(item), pixelsOf(*off));
            QVERIFY2(d > 4.0, qPrintable(QStringLiteral("%1 and its off picture differ by only %2").arg(item.name).arg(d)));
            ++onOff;
        }
        if (item.state < 1)
            continue;
        const QString base = item.name.left(item.name.size() - 1);
        const Item *normal = findItem(base + '0');
        QVERIFY2(normal, qPrintable(item.name + " has no normal state"));
        const double d = meanDifference(pixelsOf(item), pixelsOf(*normal));
        QVERIFY2(d > kClearlyDifferent, qPrintable(QStringLiteral("%1 differs from its normal state by only %2").arg(item.name).arg(d)));
        if (item.state == 2)
            QVERIFY2(meanDifference(pixelsOf(item), pixelsOf(*findItem(base + '1'))) > kClearlyDifferent,
                     qPrintable(item.name + " looks like the highlighted state"));
    }
    QVERIFY(onOff >= 50);
}

void TestArtwork::noTwoPicturesOfASkinAreAlike()
{
    // Catches a pictogram wired to the wrong stem or a state left undrawn.
    QHash<QByteArray, QString> seen;
    for (const Item &item : inventory()) {
        if (item.kind == Kind::AppIcon)
            continue;
        const QImage img = pixelsOf(item);
        QByteArray key(reinterpret_cast<const char *>(img.constBits()), int(img.sizeInBytes()));
        key.append(QByteArray::number(img.width()));
        QVERIFY2(!seen.contains(key), qPrintable(item.name + " is identical to " + seen.value(key)));
        seen.insert(key, item.name);
    }
}

void TestArtwork::magnifierButtonsSitOnTheStripColour()
{
    for (const Item &item : inventory()) {
        if (item.kind != Kind::Magnifier)
            continue;
        const QImage img = pixelsOf(item);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); x += (y == 0 || y == img.height() - 1) ? 1 : img.width() - 1)
                QVERIFY2(img.pixel(x, y) == qRgb(215, 161, 0),
                         qPrintable(QStringLiteral("%1 at %2,%3").arg(item.name).arg(x).arg(y)));
    }
}

void TestArtwork::dragPointerIsCleanlyKeyedAroundItsHotSpot()
{
    const QImage img = pixelsOf(*findItem(QStringLiteral("m_drag")));
    const QRgb key = qRgb(255, 0, 255);
    QRect drawn;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y) | 0xff000000;
            if (p == key)
                continue;
            // A blend with the key colour would show as a pink fringe.
            QVERIFY2(!(qRed(p) > 140 && qBlue(p) > 140 && qGreen(p) < qRed(p) - 60),
                     qPrintable(QStringLiteral("pinkish pixel at %1,%2").arg(x).arg(y)));
            drawn |= QRect(x, y, 1, 1);
        }
    QCOMPARE(img.pixel(0, 0) | 0xff000000, key);
    QVERIFY(drawn.width() >= 12 && drawn.height() >= 12);
    QVERIFY2(std::abs(drawn.center().x() - 16) <= 1 && std::abs(drawn.center().y() - 16) <= 1,
             "the hot spot (16,16) is the middle of the pointer");
    QVERIFY((img.pixel(16, 16) | 0xff000000) != key);
}

enum class Change { None, EdgeByNoise, EdgeBeyondNoise, PlainByOne, ColourBeyondNoise, OtherGlyph, CornerFilled };
Q_DECLARE_METATYPE(Change)

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

void TestArtwork::comparisonForgivesOnlyEdgeNoise_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("accepted");
    const QString button = QStringLiteral("1_zoom5_on_0");
    QTest::newRow("unchanged") << button << Change::None << true;
    QTest::newRow("edge pixel a level or two off") << button << Change::EdgeByNoise << true;
    QTest::newRow("edge pixel just beyond the noise") << button << Change::EdgeBeyondNoise << false;
    QTest::newRow("plain area one level off") << QStringLiteral("blue_panel") << Change::PlainByOne << false;
    QTest::newRow("a colour just beyond the noise") << button << Change::ColourBeyondNoise << false;
    QTest::newRow("another glyph") << button << Change::OtherGlyph << false;
    QTest::newRow("icon corner filled") << QStringLiteral("qv742-256") << Change::CornerFilled << false;
}

void TestArtwork::comparisonForgivesOnlyEdgeNoise()
{
    QFETCH(QString, name);
    QFETCH(Change, change);
    QFETCH(bool, accepted);
    const QImage committed = pixelsOf(*findItem(name)).convertToFormat(QImage::Format_ARGB32);
    QImage fresh = committed;
    const QRgb ink = committed.pixel(committed.width() / 2, committed.height() / 2);
    switch (change) {
    case Change::None: break;
    case Change::EdgeByNoise: nudge(fresh, firstPixel(committed, true), kEdgeNoiseLevels); break;
    case Change::EdgeBeyondNoise: nudge(fresh, firstPixel(committed, true), kEdgeNoiseLevels + 1); break;
    case Change::PlainByOne: nudge(fresh, firstPixel(committed, false), 1); break;
    case Change::ColourBeyondNoise: // the glyph's ink, wherever it is
        for (int i = 0; i < fresh.width() * fresh.height(); ++i)
            if (committed.pixel(i % fresh.width(), i / fresh.width()) == ink)
                nudge(fresh, {i % fresh.width(), i / fresh.width()}, kEdgeNoiseLevels + 1);
        break;
    case Change::OtherGlyph: fresh = pixelsOf(*findItem(QStringLiteral("1_zoom6_on_0"))); break;
    case Change::CornerFilled: fresh.setPixel(0, 0, committed.pixel(0, 0) | 0xff000000); break; // opaque, same colour
    }
    QVERIFY(change == Change::None || fresh != committed);
    const QString difference = pictureDifference(committed, fresh);
    QVERIFY2(difference.isEmpty() == accepted, qPrintable(difference));
}

void TestArtwork::generatorReproducesTheCommittedFiles()
{
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess gen;
    gen.start(QStringLiteral(QV742_ARTGEN), {QStringLiteral("--out"), out.path()});
    QVERIFY2(gen.waitForFinished(120000), "generator did not finish");
    QVERIFY2(gen.exitStatus() == QProcess::NormalExit && gen.exitCode() == 0,
             gen.readAllStandardError().constData());

    // Pixels, not bytes: PNG bytes depend on the zlib build. The BMP reader
    // is strict about the format.
    QStringList changed;
    for (const Item &item : inventory()) {
        const QString fresh = QDir(out.path()).filePath(item.relativePath());
        const QImage image = item.kind == Kind::AppIcon ? QImage(fresh) : readBmp(fresh).image;
        const QString difference = pictureDifference(pixelsOf(item), image);
        if (!difference.isEmpty())
            changed << item.relativePath() + ": " + difference;
    }
    QVERIFY2(changed.isEmpty(), qPrintable("regenerate with the `artwork` target and commit:\n" + changed.join('\n')));
}

void TestArtwork::generatorReportsFailureWhenItCannotWrite()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QProcess gen;
    gen.start(QStringLiteral(QV742_ARTGEN), {QStringLiteral("--out"), blocker.fileName()});
    QVERIFY(gen.waitForFinished(120000));
    QVERIFY(gen.exitCode() != 0);
    QVERIFY(!gen.readAllStandardError().isEmpty());
}

QTEST_GUILESS_MAIN(TestArtwork)
#include "tst_artwork.moc"
