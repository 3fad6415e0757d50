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
    int width = 0;
    int height = 0;
    QImage image;
};

quint32 u32(const QByteArray &b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
           | quint32(quint8(b[at + 3])) << 24;
}
quint16 u16(const QByteArray &b, int at) { return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8); }

// Reads the headers byte by byte rather than trusting an image loader, which
// would happily accept other depths or compressions.
Bmp readBmp(const QString &path)
{
    Bmp bmp;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        bmp.problem = QStringLiteral("cannot open");
        return bmp;
    }
    const QByteArray b = f.readAll();
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        bmp.problem = QStringLiteral("not a BMP file");
        return bmp;
    }
    const quint32 offset = u32(b, 10);
    const quint32 dibSize = u32(b, 14);
    const qint32 w = qint32(u32(b, 18));
    const qint32 h = qint32(u32(b, 22));
    const quint16 planes = u16(b, 26);
    const quint16 bits = u16(b, 28);
    const quint32 compression = u32(b, 30);
    if (dibSize < 40)
        bmp.problem = QStringLiteral("old-style info header");
    else if (bits != 24)
        bmp.problem = QStringLiteral("%1 bits per pixel").arg(bits);
    else if (compression != 0)
        bmp.problem = QStringLiteral("compression %1").arg(compression);
    else if (planes != 1)
        bmp.problem = QStringLiteral("%1 planes").arg(planes);
    else if (w <= 0 || h == 0)
        bmp.problem = QStringLiteral("size %1 x %2").arg(w).arg(h);
    else if (u32(b, 2) != quint32(b.size()))
        bmp.problem = QStringLiteral("header says %1 bytes, file has %2").arg(u32(b, 2)).arg(b.size());
    if (!bmp.problem.isEmpty())
        return bmp;

    const int height = std::abs(h);
    const quint32 rowBytes = (quint32(w) * 3 + 3) & ~3u;
    if (offset < 54 || quint64(offset) + quint64(rowBytes) * height > quint64(b.size())) {
        bmp.problem = QStringLiteral("pixel data runs past the end");
        return bmp;
    }
    bmp.width = w;
    bmp.height = height;
    bmp.image = QImage(w, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        const int y = h > 0 ? height - 1 - row : row;
        const char *src = b.constData() + offset + row * rowBytes;
        for (int x = 0; x < w; ++x)
            bmp.image.setPixel(x, y, qRgb(quint8(src[3 * x + 2]), quint8(src[3 * x + 1]), quint8(src[3 * x])));
    }
    return bmp;
}

QString pathOf(const Item &item) { return QDir(kRoot).filePath(item.relativePath()); }

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

// Pictures that must look different: anything below this is a near copy.
constexpr double kClearlyDifferent = 10.0;

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private slots:
    // --- the inventory itself --------------------------------------------
    void inventoryNamesAreUniqueAndLowerCase();

    // --- committed files ---------------------------------------------------
    void bitmapIsUncompressed24BitAtItsSize_data();
    void bitmapIsUncompressed24BitAtItsSize();
    void appIconsArePngsWithTransparentCorners();
    void everyNameExistsExactlyOnce();
    void noStrayFiles();

    // --- skins and panels --------------------------------------------------
    void skinsCarryTheSameNamesAndSizes();
    void panelsAreEquallyWideAndTall();
    void skinPanelsFollowTheBlueOutline();
    void everythingThePanelShowsLiesInsideTheOutline();
    void textPlatesAreLightEnoughForTheLabels();
    void subPageTextAreaIsCalm();

    // --- states ------------------------------------------------------------
    void highlightedAndSelectedDifferFromNormal();
    void onAndOffPicturesDiffer();
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

void TestArtwork::inventoryNamesAreUniqueAndLowerCase()
{
    QSet<QString> seen;
    for (const Item &item : inventory()) {
        QVERIFY2(item.name == item.name.toLower(), qPrintable(item.name));
        QVERIFY2(!seen.contains(item.fileName().toLower()), qPrintable(item.name));
        seen.insert(item.fileName().toLower());
        QVERIFY2(item.width > 0 && item.height > 0, qPrintable(item.name));
    }
    // Spot checks of names the panel builds at run time.
    QVERIFY(findItem(QStringLiteral("1_zoom5_on_0")));
    QVERIFY(findItem(QStringLiteral("2_2expand_2")));
    QVERIFY(findItem(QStringLiteral("m_refresh_1")));
    QVERIFY(!findItem(QStringLiteral("1_connect_on_1"))); // indicator has one state only
    QVERIFY(!findItem(QStringLiteral("1_move_2")));      // only tabs can be selected
}

void TestArtwork::bitmapIsUncompressed24BitAtItsSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    for (const Item &item : inventory())
        if (item.kind != Kind::AppIcon)
            QTest::newRow(qPrintable(item.name)) << pathOf(item) << item.width << item.height;
}

void TestArtwork::bitmapIsUncompressed24BitAtItsSize()
{
    QFETCH(QString, path);
    QFETCH(int, width);
    QFETCH(int, height);
    const Bmp bmp = readBmp(path);
    QVERIFY2(bmp.problem.isEmpty(), qPrintable(path + ": " + bmp.problem));
    QCOMPARE(bmp.width, width);
    QCOMPARE(bmp.height, height);
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
    // name would make the choice arbitrary.
    QHash<QString, QStringList> byFolder;
    for (const char *folder : {"resources/pictures", "bmp", "resources/icons"})
        byFolder.insert(QLatin1String(folder), QDir(QDir(kRoot).filePath(QLatin1String(folder))).entryList(QDir::Files));
    for (const Item &item : inventory()) {
        const QString rel = item.relativePath();
        const QString folder = rel.left(rel.lastIndexOf('/'));
        int matches = 0;
        for (const QString &name : byFolder.value(folder))
            if (name.compare(item.fileName(), Qt::CaseInsensitive) == 0) {
                ++matches;
                QVERIFY2(name == item.fileName(), qPrintable(name + " is not lower case"));
            }
        QVERIFY2(matches == 1, qPrintable(QStringLiteral("%1 found %2 times").arg(rel).arg(matches)));
    }
}

void TestArtwork::noStrayFiles()
{
    QSet<QString> known;
    for (const Item &item : inventory())
        known.insert(item.relativePath());
    const struct { const char *folder; const char *pattern; } owned[] = {
        {"resources/pictures", "*"}, {"bmp", "*.bmp"}, {"resources/icons", "qv742-*"}};
    QStringList stray;
    for (const auto &o : owned) {
        const QDir dir(QDir(kRoot).filePath(QLatin1String(o.folder)));
        for (const QString &name : dir.entryList({QLatin1String(o.pattern)}, QDir::Files | QDir::Hidden))
            if (!known.contains(QLatin1String(o.folder) + '/' + name))
                stray << QLatin1String(o.folder) + '/' + name;
    }
    QVERIFY2(stray.isEmpty(), qPrintable(stray.join(", ")));
}

void TestArtwork::skinsCarryTheSameNamesAndSizes()
{
    // Read from disk, not from the inventory: a picture added to one skin
    // folder by hand must have its twin.
    QMap<QString, QSize> perSkin[2];
    const QDir pictures(QDir(kRoot).filePath(QStringLiteral("resources/pictures")));
    for (const QString &name : pictures.entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
        for (int s = 0; s < 2; ++s) {
            const QString prefix = QString::number(s + 1) + '_';
            if (name.startsWith(prefix)) {
                const Bmp bmp = readBmp(pictures.filePath(name));
                perSkin[s].insert(name.mid(prefix.size()), QSize(bmp.width, bmp.height));
            }
        }
    }
    QVERIFY(!perSkin[0].isEmpty());
    QCOMPARE(perSkin[0].keys(), perSkin[1].keys());
    for (auto it = perSkin[0].cbegin(); it != perSkin[0].cend(); ++it)
        QVERIFY2(perSkin[1].value(it.key()) == it.value(), qPrintable(it.key()));
}

void TestArtwork::panelsAreEquallyWideAndTall()
{
    QList<Bmp> panels;
    for (const char *name : {"bmp/blue_panel.bmp", "bmp/1_panel.bmp", "bmp/2_panel.bmp"}) {
        panels << readBmp(QDir(kRoot).filePath(QLatin1String(name)));
        QVERIFY2(panels.last().problem.isEmpty(), name);
        QCOMPARE(panels.last().width, 306);
    }
    QCOMPARE(panels[1].height, panels[0].height);
    QCOMPARE(panels[2].height, panels[0].height);
}

void TestArtwork::skinPanelsFollowTheBlueOutline()
{
    const QImage blue = readBmp(QDir(kRoot).filePath(QStringLiteral("bmp/blue_panel.bmp"))).image;
    QVERIFY(!blue.isNull());
    int inside = 0;
    QRgb shapeColour = 0;
    for (int y = 0; y < blue.height(); ++y)
        for (int x = 0; x < blue.width(); ++x)
            if (!isWhite(blue.pixel(x, y))) {
                if (!inside++)
                    shapeColour = blue.pixel(x, y);
                QVERIFY2(blue.pixel(x, y) == shapeColour, "the outline bitmap is one plain colour");
            }
    // Most of the panel is window; only the corners are cut.
    QVERIFY(inside > blue.width() * blue.height() * 95 / 100);
    QVERIFY(inside < blue.width() * blue.height());
    QVERIFY(isWhite(blue.pixel(0, 0)));
    QVERIFY(isWhite(blue.pixel(blue.width() - 1, blue.height() - 1)));

    for (const char *name : {"bmp/1_panel.bmp", "bmp/2_panel.bmp"}) {
        const QImage skin = readBmp(QDir(kRoot).filePath(QLatin1String(name))).image;
        QCOMPARE(skin.size(), blue.size());
        for (int y = 0; y < blue.height(); ++y)
            for (int x = 0; x < blue.width(); ++x)
                if (isWhite(blue.pixel(x, y)) != isWhite(skin.pixel(x, y)))
                    QFAIL(qPrintable(QStringLiteral("%1 breaks the outline at %2,%3").arg(QLatin1String(name)).arg(x).arg(y)));
    }
}

void TestArtwork::everythingThePanelShowsLiesInsideTheOutline()
{
    const QImage blue = readBmp(QDir(kRoot).filePath(QStringLiteral("bmp/blue_panel.bmp"))).image;
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
    // Dark green and magenta text is drawn there with no background of its own.
    for (const char *name : {"bmp/1_panel.bmp", "bmp/2_panel.bmp"}) {
        const QImage panel = readBmp(QDir(kRoot).filePath(QLatin1String(name))).image;
        for (const QRect &r : {layout::titleText(), layout::messageText()}) {
            double darkest = 255;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    darkest = std::min(darkest, luminance(panel.pixel(x, y)));
            QVERIFY2(darkest > 180, qPrintable(QStringLiteral("%1: a pixel of luminance %2 behind the text")
                                                   .arg(QLatin1String(name)).arg(darkest)));
        }
    }
}

void TestArtwork::subPageTextAreaIsCalm()
{
    // Sub-pages write black labels on the wood and white ones on the flowers,
    // straight onto the background: nearly all of it must suit that text.
    const struct { const char *file; bool darkText; } skinsText[] = {
        {"bmp/1_panel.bmp", true}, {"bmp/2_panel.bmp", false}};
    for (const auto &s : skinsText) {
        const QImage panel = readBmp(QDir(kRoot).filePath(QLatin1String(s.file))).image;
        const QRect r = layout::subPageText();
        std::vector<double> lum;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                lum.push_back(luminance(panel.pixel(x, y)));
        std::sort(lum.begin(), lum.end());
        const double low = lum[lum.size() * 2 / 100], high = lum[lum.size() * 98 / 100];
        if (s.darkText)
            QVERIFY2(low > 130, qPrintable(QStringLiteral("%1: dark patches (%2)").arg(QLatin1String(s.file)).arg(low)));
        else
            QVERIFY2(high < 100, qPrintable(QStringLiteral("%1: bright patches (%2)").arg(QLatin1String(s.file)).arg(high)));
    }
}

void TestArtwork::highlightedAndSelectedDifferFromNormal()
{
    for (const Item &item : inventory()) {
        if (item.state < 1)
            continue;
        const QString base = item.name.left(item.name.size() - 1);
        const Item *normal = findItem(base + '0');
        QVERIFY2(normal, qPrintable(item.name + " has no normal state"));
        const double d = meanDifference(pixelsOf(item), pixelsOf(*normal));
        QVERIFY2(d > kClearlyDifferent, qPrintable(QStringLiteral("%1 differs from its normal state by only %2").arg(item.name).arg(d)));
        if (item.state == 2) {
            const double h = meanDifference(pixelsOf(item), pixelsOf(*findItem(base + '1')));
            QVERIFY2(h > kClearlyDifferent, qPrintable(item.name + " looks like the highlighted state"));
        }
    }
}

void TestArtwork::onAndOffPicturesDiffer()
{
    int pairs = 0;
    for (const Item &item : inventory()) {
        if (!item.stem.endsWith(QLatin1String("_on")))
            continue;
        const QString offName = item.name;
        const Item *off = findItem(QString(offName).replace(QStringLiteral("_on_"), QStringLiteral("_off_")));
        QVERIFY2(off, qPrintable(item.name + " has no off picture"));
        const double d = meanDifference(pixelsOf(item), pixelsOf(*off));
        QVERIFY2(d > 4.0, qPrintable(QStringLiteral("%1 and its off picture differ by only %2").arg(item.name).arg(d)));
        ++pairs;
    }
    QVERIFY(pairs >= 50);
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
    const QRgb strip = qRgb(215, 161, 0);
    for (const Item &item : inventory()) {
        if (item.kind != Kind::Magnifier)
            continue;
        const QImage img = pixelsOf(item);
        for (int x = 0; x < img.width(); ++x) {
            QCOMPARE(img.pixel(x, 0), strip);
            QCOMPARE(img.pixel(x, img.height() - 1), strip);
        }
        for (int y = 0; y < img.height(); ++y) {
            QCOMPARE(img.pixel(0, y), strip);
            QCOMPARE(img.pixel(img.width() - 1, y), strip);
        }
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
