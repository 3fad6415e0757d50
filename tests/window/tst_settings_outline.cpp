// The settings file and the window outline: pure functions.

#include "test_files.h"
#include "test_registry.h"
#include "window/device_map_file.h"
#include "window/outline.h"
#include "window/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

// Root may write anywhere: while this lives, the process runs as nobody (root stays its saved user, to go back).
struct AsAnotherUser {
    AsAnotherUser() { ok = !root || (::setresgid(65534, 65534, 0) == 0 && ::setresuid(65534, 65534, 0) == 0); }
    ~AsAnotherUser()
    {
        if (root && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0))
            qFatal("cannot become root again");
    }
    const bool root = ::geteuid() == 0;
    bool ok;
};

// The fields read, "-" for each that could not be.
QString fields(const QByteArray& text)
{
    const StoredSettings s = parse_settings(text);
    QStringList out;
    for (const std::optional<qint32>& f : {s.skin, s.com_port, s.left, s.top})
        out << (f ? QString::number(*f) : "-");
    out << (s.on_top ? (*s.on_top ? "T" : "F") : "-");
    return s.complete() == !out.contains("-") ? out.join(',') : QStringLiteral("complete() disagrees");
}

}  // namespace

class TestSettingsOutline : public QObject {
    Q_OBJECT
private slots:
    void settings_are_read_field_by_field_and_replaced_whole()
    {
        const std::pair<QByteArray, QString> cases[] = {
            {"1,1,4320,3000,#TRUE#\r\n", "1,1,4320,3000,T"}, {"1,1,2.5,3.5,#TRUE#", "1,1,2,4,T"},  // halves to even
            {"2\n2\n-200\n15.5\n#FALSE#\n", "2,2,-200,16,F"}, {"7,1,0,0,True", "7,1,0,0,T"},   // one a line
            {" 1 , 2 , 3 , 4 , 0 ", "1,2,3,4,F"}, {"1,2,3,4,-1", "1,2,3,4,T"}, {"1,1,1,1,maybe", "1,1,1,1,-"},
            {"-32768,32767,-2147483648,2147483647,false", "-32768,32767,-2147483648,2147483647,F"},
            // Short or unreadable: the fields before the fault are kept.
            {"2,2", "2,2,-,-,-"}, {"2,x,1,1,#TRUE#", "2,-,-,-,-"}, {"", "-,-,-,-,-"}, {"1,,3,4,#TRUE#", "1,-,-,-,-"},
            {"99999,1,1,1,#TRUE#", "-,-,-,-,-"}, {"1,-32769,0,0,0", "1,-,-,-,-"}, {"1,1,2147483648,0,0", "1,1,-,-,-"},
            {QByteArray("\xff\xfe\x00\x01", 4), "-,-,-,-,-"},
        };
        for (const auto& [text, expected] : cases)
            QCOMPARE(fields(text), expected);

        QTemporaryDir dir;
        const QString path = dir.filePath("sub/QVR_742.ini");
        QVERIFY(!read_settings_file(path).skin);  // missing
        QString error, problem;
        QVERIFY(write_settings_file(path, format_settings(2, 1, 10, 20, false), error)
                && read_settings_file(path).complete() && *read_settings_file(path).skin == 2);
        // Refused past 4096 bytes, read up to them.
        QVERIFY(write_file(path, QByteArray("2,2,0,0,0").leftJustified(4097, '\n')) && !read_settings_file(path, &problem).skin);
        QVERIFY2(problem.contains("far too large to be one (more than 4096 bytes)"), qPrintable(problem));
        QVERIFY(write_file(path, QByteArray("2,2,0,0,0").leftJustified(4096, '\n')) && read_settings_file(path, &problem).complete() && problem.isEmpty());
        // A folder that cannot be written keeps the old files, and what is said names that folder.
        const QFile::Permissions rx = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
            | QFile::ReadOther | QFile::ExeOther;
        QFile::setPermissions(dir.path(), rx | QFile::WriteOwner);
        QFile::setPermissions(dir.filePath("sub"), rx);
        {
            const AsAnotherUser nobody;
            QVERIFY(nobody.ok);
            const QString said = "The folder " + dir.filePath("sub") + " cannot be written";
            QVERIFY(!write_settings_file(path, format_settings(1, 1, 0, 0, true), error) && error.startsWith(said));
            QVERIFY(!write_device_map(device_map_path(path), "COM1=/dev/ttyUSB0\n", error) && error.startsWith(said));
            QCOMPARE(*read_settings_file(path).skin, 2);
        }
        QFile::setPermissions(dir.filePath("sub"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // A folder in the file's place, or a file in its folder's: named, with what to do.
        QVERIFY(QDir(dir.path()).mkpath("taken/QVR_742.ini"));
        QVERIFY(!write_settings_file(dir.filePath("taken/QVR_742.ini"), "x", error)
                && error.contains("is a folder, not a file. Rename or remove"));
        QVERIFY(!write_settings_file(path + "/deeper/QVR_742.ini", "x", error)
                && error.contains(path + " is a file, not a folder"));

        QTemporaryDir writable;
        const QString beside = writable.filePath("QVR_742.ini"), user = dir.filePath("user/QVR_742.ini");
        QCOMPARE(settings_location(writable.path(), user).write, beside);
        QCOMPARE(settings_location("/nonexistent/folder", user).write, user);
        // A read-only file beside the program (even for root) is kept and read until the user has a file.
        QVERIFY(QFile(beside).open(QIODevice::WriteOnly) && QFile::setPermissions(beside, QFile::ReadOwner));
        const SettingsPaths kept = settings_location(writable.path(), user);
        QVERIFY(kept.read == beside && kept.write == user);
        QVERIFY(write_settings_file(user, "x", error));
        QCOMPARE(settings_location(writable.path(), user).read, user);
    }

    // fuzz_replay's seeds hold the outline to its invariants (runs, near white, depths), but have no equal rows.
    void outline_joins_equal_rows_of_any_depth()
    {
        QImage picture(3, 4, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int y = 0; y < 3; ++y)
            picture.setPixel(1, y, qRgb(0, 0, 0));
        QCOMPARE(region_from_picture(picture.convertToFormat(QImage::Format_Grayscale8)), QRegion(1, 0, 1, 3));
    }
};

QV_REGISTER_TEST(TestSettingsOutline)
#include "tst_settings_outline.moc"
