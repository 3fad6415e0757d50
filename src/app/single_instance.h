#pragma once
// Only one panel of a user may drive the box: a second start finds the lock
// held and hands over to the running panel, touching nothing.

#include <QLockFile>
#include <QString>
#include <memory>

class SingleInstance {
public:
    // `lock_path` empty: the lock in the user's private panel folder
    // (control_address.h).
    explicit SingleInstance(const QString& lock_path = QString());
    // False when another panel holds the lock. True when the lock is now
    // ours, and also when no lock can be made at all (problem() says why):
    // a panel that cannot keep a second one out still serves its user.
    bool acquire();
    const QString& problem() const { return problem_; }

private:
    std::unique_ptr<QLockFile> lock_;
    QString problem_;
};
