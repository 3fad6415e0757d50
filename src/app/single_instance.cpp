#include "app/single_instance.h"

#include "app/control_address.h"

SingleInstance::SingleInstance(const QString& lock_path)
{
    const QString path = lock_path.isEmpty() ? panel_lock_path(problem_) : lock_path;
    if (path.isEmpty())
        return;
    lock_ = std::make_unique<QLockFile>(path);
    lock_->setStaleLockTime(0);  // stale only when its owner is gone
}

bool SingleInstance::acquire()
{
    if (!lock_)
        return true;
    if (lock_->tryLock(0))
        return true;
    if (lock_->error() == QLockFile::LockFailedError)
        return false;
    problem_ = QStringLiteral("cannot make the lock file %1").arg(lock_->fileName());
    return true;
}
