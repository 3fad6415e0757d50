#include "app/control_address.h"

#include "platform/user_socket.h"

#include <QDir>
#include <QFileInfo>

QString control_socket_path(bool create, QString& error)
{
#ifdef Q_OS_WIN
    Q_UNUSED(create);
    Q_UNUSED(error);
    return QStringLiteral("qv742-panel-%1").arg(user_tag());
#else
    static const QString kName = QStringLiteral("qv742-panel.socket");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString ignored;
    if (!runtime.isEmpty() && QFileInfo(runtime).isAbsolute() && private_folder(runtime, false, ignored))
        return QDir(runtime).filePath(kName);
    const QString folder = QDir(QDir::tempPath()).filePath(QStringLiteral("qv742-%1").arg(user_tag()));
    if (!private_folder(folder, create, error))
        return QString();
    return QDir(folder).filePath(kName);
#endif
}
