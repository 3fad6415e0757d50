#include "link/serial_device.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

QString canonical_device(const QString& name)
{
    if (!name.contains(QLatin1Char('/')))
        return name;
    const QString canonical = QFileInfo(name).canonicalFilePath();
    return canonical.isEmpty() ? name : canonical;
}

QString device_problem(const QString& device)
{
#ifdef Q_OS_UNIX
    // The lock file is "LCK.." and the path below /dev with '/' made '_',
    // one file name of at most 255 bytes.
    constexpr qsizetype kMaxFileName = 255;
    const QString below_dev = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    if (QFile::encodeName(below_dev).size() + 5 > kMaxFileName)
        return QString::fromLatin1(kLockNameTooLong);
    struct stat st {};
    if (device.contains(QLatin1Char('/')) && ::stat(QFile::encodeName(device).constData(), &st) == 0
        && !S_ISCHR(st.st_mode))
        return QString::fromLatin1(kNotSerialDevice);
#else
    Q_UNUSED(device);
#endif
    return {};
}
