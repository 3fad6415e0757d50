#include "window/device_map_file.h"

#include "platform/regular_file.h"
#include "window/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Far more than two lines need: a larger file is not one of ours.
constexpr qint64 kMaxBytes = 64 * 1024;

}  // namespace

QString device_map_path(const QString& settings_path)
{
    return QFileInfo(settings_path).dir().filePath(QStringLiteral("QVR_742_devices.ini"));
}

DeviceMap parse_device_map(const QByteArray& text)
{
    DeviceMap map;
    if (text.trimmed().isEmpty()) {
        map.problems << QStringLiteral("it is empty");
        return map;
    }
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).trimmed().toUpper();
        const QString value = line.mid(eq + 1).trimmed();
        const bool known = eq > 0 && (key == QLatin1String("COM1") || key == QLatin1String("COM2"));
        if (!known || value.isEmpty() || value.contains(QChar::ReplacementCharacter)
            || std::any_of(value.begin(), value.end(), [](QChar c) { return c.isNonCharacter() || c < ' '; })) {
            map.problems << QStringLiteral("line %1 cannot be read").arg(i + 1);
            continue;
        }
        map.com(key == QLatin1String("COM2") ? 2 : 1) = value;
    }
    return map;
}

QByteArray format_device_map(const QString& com1, const QString& com2)
{
    QByteArray text = "# Serial devices of the COM buttons, chosen in the panel (hold a COM button down).\n";
    if (!com1.isEmpty())
        text += "COM1=" + com1.toUtf8() + '\n';
    if (!com2.isEmpty())
        text += "COM2=" + com2.toUtf8() + '\n';
    return text;
}

DeviceMap read_device_map(const QString& path)
{
    const FileRead read = read_regular_file(path, kMaxBytes);
    if (read.status == FileRead::Status::Read)
        return parse_device_map(read.bytes);
    DeviceMap map;
    if (read.status == FileRead::Status::Refused)
        map.problems << read.problem;
    return map;
}

bool write_device_map(const QString& path, const QByteArray& text, QString& error)
{
    if (!special_file_kind(path).isEmpty()) {
        error = save_failure(path, QString());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = save_failure(path, file.errorString());
        return false;
    }
    return true;
}

QString device_map_note(const QString& path, const DeviceMap& map)
{
    if (map.problems.isEmpty())
        return QString();
    QString what = map.problems.first();
    if (map.problems.size() > 1)
        what += QStringLiteral(" (and %1 more)").arg(map.problems.size() - 1);
    return QStringLiteral("The file of chosen devices, %1, could not be read: %2. "
                          "A COM number it does not name uses its default device; the file is left as it "
                          "is until you choose a device.")
        .arg(path, what);
}
