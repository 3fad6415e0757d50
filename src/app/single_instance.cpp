#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString& lock_path)
    : lock_(std::make_unique<QLockFile>(lock_path.isEmpty() ? default_lock_path() : lock_path))
{
    lock_->setStaleLockTime(0);  // stale only when its owner is gone
}

bool SingleInstance::acquire()
{
    return lock_->tryLock(0);
}

QString SingleInstance::default_lock_path()
{
    QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME", QStringLiteral("user")));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("qv742-panel-%1.lock").arg(user));
}
