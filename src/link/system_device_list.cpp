#include "link/system_device_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMap>
#include <QSerialPortInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

constexpr int kCheckIntervalMs = 1000;

#ifndef Q_OS_UNIX
bool same_port(const QSerialPortInfo& info, const QString& name)
{
    return info.portName() == name || info.systemLocation() == name;
}
#endif

}  // namespace

SystemDeviceList::SystemDeviceList(const QString& by_id_dir, QObject* parent)
    : QObject(parent), by_id_dir_(by_id_dir)
{
    timer_.setInterval(kCheckIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &SystemDeviceList::check);
}

QString SystemDeviceList::default_by_id_dir()
{
#ifdef Q_OS_LINUX
    return QStringLiteral("/dev/serial/by-id");
#else
    return QString();
#endif
}

QList<SerialDeviceInfo> SystemDeviceList::devices()
{
    // Stable names by the device they lead to; a link that leads nowhere
    // (the device just went) names nothing.
    QMap<QString, QString> stable;
    if (!by_id_dir_.isEmpty()) {
        const QFileInfoList links = QDir(by_id_dir_).entryInfoList(
            QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& link : links) {
            const QString target = link.canonicalFilePath();
            if (!target.isEmpty() && !stable.contains(target))
                stable.insert(target, link.absoluteFilePath());
        }
    }
    QList<SerialDeviceInfo> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDeviceInfo d;
#ifdef Q_OS_WIN
        d.path = info.portName();  // COM3, as the port is opened and named
#else
        d.path = info.systemLocation();
#endif
        d.description = info.description();
        d.manufacturer = info.manufacturer();
        d.usb = info.hasVendorIdentifier();
        const QString canonical = QFileInfo(d.path).canonicalFilePath();
        d.stable_name = stable.take(canonical.isEmpty() ? d.path : canonical);
        d.usb = d.usb || !d.stable_name.isEmpty();
        out << d;
    }
    // Stable names of devices QSerialPortInfo does not list (a pseudo-terminal).
    for (auto it = stable.cbegin(); it != stable.cend(); ++it) {
        SerialDeviceInfo d;
        d.path = it.key();
        d.stable_name = it.value();
        d.usb = true;
        out << d;
    }
    std::sort(out.begin(), out.end(),
              [](const SerialDeviceInfo& a, const SerialDeviceInfo& b) { return a.path < b.path; });
    return out;
}

bool SystemDeviceList::exists(const QString& path)
{
    if (path.isEmpty())
        return false;
#ifdef Q_OS_UNIX
    return QFileInfo::exists(path);  // follows a link to where it leads
#else
    const auto ports = QSerialPortInfo::availablePorts();
    return std::any_of(ports.begin(), ports.end(), [&](const QSerialPortInfo& p) { return same_port(p, path); });
#endif
}

QString SystemDeviceList::problem_with(const QString& path)
{
    if (path.trimmed().isEmpty())
        return QStringLiteral("No device was given.");
#ifdef Q_OS_UNIX
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? QStringLiteral("%1 leads to a device that is not there.").arg(path)
                                : QStringLiteral("%1 does not exist.").arg(path);
    const QString device = info.canonicalFilePath();
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return QStringLiteral("%1 is not a serial device.").arg(path);
#ifdef Q_OS_LINUX
    // Every terminal device has a class entry, pseudo-terminals apart.
    const QDir classes(QStringLiteral("/sys/class/tty"));
    if (!device.startsWith(QLatin1String("/dev/pts/")) && classes.exists()
        && !classes.exists(QFileInfo(device).fileName()))
        return QStringLiteral("%1 is not a serial device.").arg(path);
#endif
    return QString();
#else
    const auto ports = QSerialPortInfo::availablePorts();
    if (std::none_of(ports.begin(), ports.end(), [&](const QSerialPortInfo& p) { return same_port(p, path); }))
        return QStringLiteral("%1 is not a serial port of this computer.").arg(path);
    return QString();
#endif
}

void SystemDeviceList::watch(const QString& path, std::function<void()> present)
{
    path_ = path;
    present_ = std::move(present);
    checks_ = 0;
    if (path_.isEmpty() || !present_) {
        timer_.stop();
        if (folder_watch_ && !watched_folder_.isEmpty())
            folder_watch_->removePath(watched_folder_);
        watched_folder_.clear();
        return;
    }
    if (!folder_watch_) {
        folder_watch_ = new QFileSystemWatcher(this);
        connect(folder_watch_, &QFileSystemWatcher::directoryChanged, this, &SystemDeviceList::check);
    }
    follow_folder();
    timer_.start();
}

// Watches the nearest folder on the way to the device that exists now: the
// by-id folder itself goes away with the last adapter.
void SystemDeviceList::follow_folder()
{
#ifdef Q_OS_UNIX
    QString folder = QFileInfo(path_).absolutePath();
    while (!QFileInfo(folder).isDir() && folder != QDir::rootPath())
        folder = QFileInfo(folder).absolutePath();
    if (folder == watched_folder_)
        return;
    if (!watched_folder_.isEmpty())
        folder_watch_->removePath(watched_folder_);
    watched_folder_ = folder_watch_->addPath(folder) ? folder : QString();
#endif
}

void SystemDeviceList::check()
{
    if (!present_)
        return;
    ++checks_;
    follow_folder();
    if (exists(path_)) {
        const auto present = present_;  // it may replace the watch
        present();
    }
}
