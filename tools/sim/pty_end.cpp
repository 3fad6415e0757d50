#include "sim/pty_end.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyEnd::~PtyEnd()
{
    // Only our own link: it may have been replaced since.
    if (!link_.isEmpty() && QFile::symLinkTarget(link_) == QFileInfo(serial_path_).absoluteFilePath())
        QFile::remove(link_);
    if (slave_keep_ >= 0)
        ::close(slave_keep_);
    if (master_ >= 0)
        ::close(master_);
}

bool PtyEnd::open(const QString& link, QString& error)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = QStringLiteral("cannot create a pseudo-terminal: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    serial_path_ = QString::fromLocal8Bit(::ptsname(master_));
    slave_keep_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    if (slave_keep_ < 0) {
        error = QStringLiteral("cannot open %1: %2").arg(serial_path_, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Raw at once, or the line discipline would echo the panel's commands.
    termios tio{};
    ::tcgetattr(slave_keep_, &tio);
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(slave_keep_, TCSANOW, &tio);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (link.isEmpty())
        return true;
    if (!make_link(link, serial_path_, error))
        return false;
    link_ = link;
    return true;
}

void PtyEnd::write(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            if (n < 0 && errno == EINTR)
                continue;
            return;  // full: nobody is reading
        }
        done += n;
    }
}

QByteArray PtyEnd::read_available()
{
    QByteArray out;
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return out;  // EAGAIN, or EIO while no client has the serial end open
    }
}

bool make_link(const QString& link, const QString& target, QString& error)
{
    const QFileInfo info(link);
    // A dangling link was left by a simulator that has gone, and its
    // pseudo-terminal with it; that number may now be ours.
    const bool stale = info.isSymLink() && (!info.exists() || info.symLinkTarget() == target);
    if (info.isSymLink() && !stale) {
        error = QStringLiteral("%1 is in use: it links to %2; choose another path, or remove the link if "
                               "nothing uses it")
                    .arg(link, info.symLinkTarget());
        return false;
    }
    if (!info.isSymLink() && info.exists()) {
        error = QStringLiteral("%1 exists and is not a link: choose another path").arg(link);
        return false;
    }
    if (stale)
        QFile::remove(link);
    if (!QDir().mkpath(info.absolutePath())) {
        error = QStringLiteral("cannot create folder %1").arg(info.absolutePath());
        return false;
    }
    // Fails rather than replaces when another program took the path meanwhile.
    if (::symlink(target.toLocal8Bit().constData(), link.toLocal8Bit().constData()) != 0) {
        error = errno == EEXIST
            ? QStringLiteral("%1 is in use: another program has just taken it; choose another path").arg(link)
            : QStringLiteral("cannot create %1: %2").arg(link, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

void on_stop_signals(void (*handler)(int))
{
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}
