#pragma once
// Only one panel may drive the box: a second start finds the lock held and
// leaves at once, touching nothing.

#include <QLockFile>
#include <QString>
#include <memory>

class SingleInstance {
public:
    // `lock_path` empty: a per-user lock in the temporary folder.
    explicit SingleInstance(const QString& lock_path = QString());
    // True when this is the only running instance (the lock is now ours).
    bool acquire();
    static QString default_lock_path();

private:
    std::unique_ptr<QLockFile> lock_;
};
