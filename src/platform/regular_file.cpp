#include "platform/regular_file.h"

#include <QFile>
#include <algorithm>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString kind_of(mode_t mode)
{
    return QLatin1String(S_ISDIR(mode)    ? "a folder"
                         : S_ISFIFO(mode) ? "a named pipe"
                         : S_ISCHR(mode)  ? "a character device"
                         : S_ISBLK(mode)  ? "a block device"
                         : S_ISSOCK(mode) ? "a socket"
                                          : "a special file");
}

QString kind_problem(mode_t mode)
{
    return QStringLiteral("it is %1, not a file").arg(kind_of(mode));
}

QString system_error(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString too_large(qint64 max_bytes)
{
    return QStringLiteral("it is far too large to be one (more than %1 bytes)").arg(max_bytes);
}

}  // namespace

FileRead read_regular_file(const QString& path, qint64 max_bytes)
{
    FileRead r;
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    // Looked at before it is opened: opening a device may do something.
    if (::stat(native.constData(), &st) != 0) {
        if (errno != ENOENT) {
            r.status = FileRead::Status::Refused;
            r.problem = system_error(errno);
        }
        return r;
    }
    r.status = FileRead::Status::Refused;
    if (!S_ISREG(st.st_mode)) {
        r.problem = kind_problem(st.st_mode);
        return r;
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        r.problem = system_error(errno);
        return r;
    }
    // It may have been replaced between the look and the opening.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        r.problem = S_ISREG(st.st_mode) ? system_error(errno) : kind_problem(st.st_mode);
        ::close(fd);
        return r;
    }
    // A file far too large by its own account is refused unread; the buffer
    // fits what the file says it holds, and grows for one that says nothing
    // (as files under /proc do) or grows while read, up to the bound.
    if (st.st_size > max_bytes) {
        r.problem = too_large(max_bytes);
        ::close(fd);
        return r;
    }
    QByteArray bytes(std::min<qint64>(st.st_size, max_bytes) + 1, Qt::Uninitialized);
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > max_bytes)
                break;
            bytes.resize(std::min<qint64>(2 * got, max_bytes + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            r.problem = system_error(errno);
            ::close(fd);
            return r;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    if (got > max_bytes) {
        r.problem = too_large(max_bytes);
        return r;
    }
    bytes.truncate(got);
    r.status = FileRead::Status::Read;
    r.bytes = bytes;
    return r;
}

QString special_file_kind(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return QString();
    return kind_of(st.st_mode);
}

#else  // Windows: no named pipes or devices among ordinary paths

FileRead read_regular_file(const QString& path, qint64 max_bytes)
{
    FileRead r;
    const QFileInfo info(path);
    if (!info.exists())
        return r;
    r.status = FileRead::Status::Refused;
    if (!info.isFile()) {
        r.problem = QStringLiteral("it is a folder, not a file");
        return r;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        r.problem = file.errorString();
        return r;
    }
    const QByteArray bytes = file.read(max_bytes + 1);
    if (bytes.size() > max_bytes) {
        r.problem = QStringLiteral("it is far too large to be one (more than %1 bytes)").arg(max_bytes);
        return r;
    }
    r.status = FileRead::Status::Read;
    r.bytes = bytes;
    return r;
}

QString special_file_kind(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile() ? QStringLiteral("a folder") : QString();
}

#endif
