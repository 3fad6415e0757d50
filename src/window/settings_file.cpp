#include "window/settings_file.h"

#include "core/rounding.h"
#include "platform/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>
#include <limits>

namespace {

constexpr const char* kFileName = "QVR_742.ini";
// The file is one short line; anything larger is not ours.
constexpr qint64 kMaxBytes = 4096;

// A whole number, written with or without a fraction (rounded half to even).
std::optional<qint64> read_number(const QByteArray& field, qint64 low, qint64 high)
{
    bool ok = false;
    const double v = field.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    const double r = std::nearbyint(v);
    if (r < static_cast<double>(low) || r > static_cast<double>(high))
        return std::nullopt;
    return static_cast<qint64>(r);
}

std::optional<bool> read_boolean(const QByteArray& field)
{
    const QByteArray f = field.toUpper();
    if (f == "#TRUE#" || f == "TRUE")
        return true;
    if (f == "#FALSE#" || f == "FALSE")
        return false;
    if (const auto n = read_number(field, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()))
        return *n != 0;
    return std::nullopt;
}

}  // namespace

QString save_failure(const QString& path, const QString& platform_error)
{
    const QFileInfo file(path);
    const QString kind = special_file_kind(path);
    if (!kind.isEmpty())
        return QStringLiteral("%1 is %2, not a file. Rename or remove it so that the settings can be saved.")
            .arg(file.absoluteFilePath(), kind);
    const QString folder = file.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        QString blocker = folder;
        while (!QFileInfo::exists(blocker) && QFileInfo(blocker).absolutePath() != blocker)
            blocker = QFileInfo(blocker).absolutePath();
        if (QFileInfo::exists(blocker) && !QFileInfo(blocker).isDir())
            return QStringLiteral("The folder %1 cannot be created: %2 is a file, not a folder. Rename or "
                                  "remove that file so that the settings can be saved.")
                .arg(folder, blocker);
        return QStringLiteral("The folder %1 cannot be created in %2. Make sure that you may write there.")
            .arg(folder, blocker);
    }
    if (!QFileInfo(folder).isWritable())
        return QStringLiteral("The folder %1 cannot be written. Make it writable for your user (ls -ld %1 "
                              "shows its owner and permissions).")
            .arg(folder);
    return QStringLiteral("%1: %2.").arg(file.absoluteFilePath(), platform_error);
}

StoredSettings parse_settings(const QByteArray& text)
{
    QList<QByteArray> fields;
    QByteArray normal = text;
    normal.replace("\r\n", "\n").replace('\r', '\n');
    for (const QByteArray& line : normal.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        for (const QByteArray& field : line.split(','))
            fields << field.trimmed();
    }
    StoredSettings s;
    const auto field = [&](int i) { return i < fields.size() ? fields[i] : QByteArray(); };
    constexpr qint64 i16_min = -32768, i16_max = 32767;
    constexpr qint64 i32_min = std::numeric_limits<qint32>::min();
    constexpr qint64 i32_max = std::numeric_limits<qint32>::max();
    const auto skin = read_number(field(0), i16_min, i16_max);
    if (!skin)
        return s;
    s.skin = static_cast<int>(*skin);
    const auto port = read_number(field(1), i16_min, i16_max);
    if (!port)
        return s;
    s.com_port = static_cast<int>(*port);
    const auto left = read_number(field(2), i32_min, i32_max);
    if (!left)
        return s;
    s.left = static_cast<qint32>(*left);
    const auto top = read_number(field(3), i32_min, i32_max);
    if (!top)
        return s;
    s.top = static_cast<qint32>(*top);
    s.on_top = read_boolean(field(4));
    return s;
}

QByteArray format_settings(int skin, int com_port, qint32 left, qint32 top, bool on_top)
{
    return QByteArray::number(skin) + ',' + QByteArray::number(com_port) + ','
        + QByteArray::number(left) + ',' + QByteArray::number(top) + ','
        + (on_top ? "#TRUE#" : "#FALSE#") + "\r\n";
}

StoredSettings read_settings_file(const QString& path, QString* problem)
{
    const FileRead read = read_regular_file(path, kMaxBytes);
    if (problem)
        *problem = read.problem;
    return parse_settings(read.bytes);
}

QString settings_read_note(const QString& path, const QString& problem)
{
    return QStringLiteral("The settings file, %1, could not be read: %2. The panel started with its default "
                          "settings.")
        .arg(path, problem);
}

bool write_settings_file(const QString& path, const QByteArray& record, QString& error)
{
    // A new file would take the place of a named pipe, and, for root, of
    // the device a link leads to: never.
    if (!special_file_kind(path).isEmpty()) {
        error = save_failure(path, QString());
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(record) != record.size() || !file.commit()) {
        error = save_failure(path, file.errorString());
        return false;
    }
    return true;
}

SettingsPaths settings_location(const QString& program_dir, const QString& user_path)
{
    const QFileInfo beside(QDir(program_dir).filePath(kFileName));
    if (!beside.exists())
        return QFileInfo(program_dir).isWritable() ? SettingsPaths{beside.filePath(), beside.filePath()}
                                                   : SettingsPaths{user_path, user_path};
    // Without any write bit the file is meant to stay as it is, even for
    // root, who could write it anyway.
    constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (beside.isWritable() && (beside.permissions() & kAnyWrite))
        return {beside.filePath(), beside.filePath()};
    return {QFileInfo::exists(user_path) ? user_path : beside.filePath(), user_path};
}

QString user_settings_path()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(config).filePath(kFileName);
}
