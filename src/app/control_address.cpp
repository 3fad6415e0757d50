#include "app/control_address.h"

#include "platform/user_socket.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#ifdef Q_OS_WIN

QString panel_folder(bool, QString&)
{
    return QDir::tempPath();  // each user's own on Windows
}

QString control_socket_path(bool, QString&)
{
    return QStringLiteral("qv742-panel-%1").arg(user_tag());
}

QString panel_lock_path(QString&)
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("qv742-panel-%1.lock").arg(user_tag()));
}

#else

QString panel_folder(bool create, QString& error)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString ignored;
    if (!runtime.isEmpty() && QFileInfo(runtime).isAbsolute() && private_folder(runtime, false, ignored))
        return runtime;
    const QString shared = QDir(QDir::tempPath()).filePath(QStringLiteral("qv742-%1").arg(user_tag()));
    QString taken;
    if (private_folder(shared, create, taken))
        return shared;
    // Anyone may take a name in the temporary folder first. The cache folder
    // is the user's own; the host's name keeps apart the panels of one home
    // shared by several computers.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!QFileInfo(cache).isAbsolute()) {
        error = taken;
        return QString();
    }
    const QString own = QDir(cache).filePath(QStringLiteral("qv742/run-%1").arg(QSysInfo::machineHostName()));
    if (create)
        QDir().mkpath(QFileInfo(own).absolutePath());
    if (!private_folder(own, create, error)) {
        error = taken + QStringLiteral("; ") + error;
        return QString();
    }
    return own;
}

QString control_socket_path(bool create, QString& error)
{
    const QString folder = panel_folder(create, error);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("qv742-panel.socket"));
}

QString panel_lock_path(QString& error)
{
    const QString folder = panel_folder(true, error);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("qv742-panel.lock"));
}

#endif
