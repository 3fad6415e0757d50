#include "platform/user_socket.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

QString user_tag()
{
    return QString::number(::geteuid());
}

bool private_folder(const QString& path, bool create, QString& error)
{
    const QByteArray native = QFile::encodeName(path);
    if (create && ::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        error = QStringLiteral("cannot create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0) {
        error = QStringLiteral("cannot inspect %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Anyone may create names in the temporary folder: trust only a real
    // folder of our own that nobody else can enter.
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
        error = QStringLiteral("%1 is not a private folder of this user").arg(path);
        return false;
    }
    return true;
}

QLocalServer::SocketOptions private_socket_options()
{
    return QLocalServer::NoOptions;
}

bool restrict_to_user(const QString& socket_path)
{
    return ::chmod(QFile::encodeName(socket_path).constData(), 0600) == 0;
}

bool peer_is_this_user(qintptr socket_descriptor)
{
#if defined(SO_PEERCRED)
    struct ucred cred {};
    socklen_t size = sizeof cred;
    if (::getsockopt(static_cast<int>(socket_descriptor), SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0)
        return false;
    return cred.uid == ::geteuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    if (::getpeereid(static_cast<int>(socket_descriptor), &uid, &gid) != 0)
        return false;
    return uid == ::geteuid();
#endif
}

#else  // Windows: a named pipe whose access list admits this user only

QString user_tag()
{
    return qEnvironmentVariable("USERNAME", QStringLiteral("user"));
}

bool private_folder(const QString&, bool, QString&)
{
    return true;
}

QLocalServer::SocketOptions private_socket_options()
{
    return QLocalServer::UserAccessOption;
}

bool restrict_to_user(const QString&)
{
    return true;
}

bool peer_is_this_user(qintptr)
{
    return true;
}

#endif
