#include "app/control_client.h"

#include "app/control_address.h"
#include "platform/user_socket.h"

#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#endif

bool ControlClient::connect_to_panel(int retry_ms, QString& error)
{
    const QString path = control_socket_path(false, error);
    if (path.isEmpty())
        return false;
    const QDeadlineTimer deadline(retry_ms);
    for (;;) {
        socket_.connectToServer(path);
        if (socket_.waitForConnected(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 100))))
            break;
        error = socket_.errorString();
        socket_.abort();
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    if (!peer_is_this_user(socket_.socketDescriptor())) {
        error = QStringLiteral("the panel at %1 runs as another user").arg(path);
        socket_.abort();
        return false;
    }
    return true;
}

void ControlClient::send(const QByteArray& line)
{
    const QByteArray bytes = line + '\n';
#ifdef Q_OS_UNIX
    // Past Qt: when the panel has answered and closed (too many clients, a
    // lost device), Qt's failed write would throw away that answer unread.
    const int fd = static_cast<int>(socket_.socketDescriptor());
    qsizetype done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), MSG_NOSIGNAL);
        if (n > 0) {
            done += n;
            continue;
        }
        pollfd room{fd, POLLOUT, 0};
        if (n < 0 && (errno == EINTR || (errno == EAGAIN && ::poll(&room, 1, 1000) == 1)))
            continue;
        return;  // closed: next() reads what the panel said before
    }
#else
    socket_.write(bytes);
    socket_.waitForBytesWritten(1000);
#endif
}

std::optional<control::Answer> ControlClient::next(int timeout_ms, int silence_ms)
{
    const QDeadlineTimer deadline(timeout_ms);
    QDeadlineTimer quiet(silence_ms < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(silence_ms));
    timed_out_ = false;
    for (;;) {
        if (const auto line = reader_.take_line()) {
            control::Answer answer = control::split_answer(*line);
            if (answer.word != "WAIT")
                return answer;
            if (silence_ms >= 0)
                quiet.setRemainingTime(silence_ms);  // busy, but there
            continue;
        }
        if (reader_.failed()) {
            failure_ = QStringLiteral("the panel sent a line that is too long");
            return std::nullopt;
        }
        if (socket_.bytesAvailable() > 0) {
            reader_.feed(socket_.read(control::kMaxAnswerBytes + 1));
            continue;
        }
        if (socket_.state() != QLocalSocket::ConnectedState) {
            failure_ = QStringLiteral("the panel closed the connection");
            return std::nullopt;
        }
        if (deadline.hasExpired()) {
            timed_out_ = true;
            failure_ = QStringLiteral("the panel did not answer within %1 s").arg(timeout_ms / 1000);
            return std::nullopt;
        }
        if (quiet.hasExpired()) {
            timed_out_ = true;
            failure_ = QStringLiteral("it said nothing for %1 s (it may be stopped or hung)").arg(silence_ms / 1000);
            return std::nullopt;
        }
        const qint64 left = quiet.isForever() ? deadline.remainingTime()
                                              : std::min(deadline.remainingTime(), quiet.remainingTime());
        socket_.waitForReadyRead(static_cast<int>(left));
    }
}

void ControlClient::close()
{
    socket_.abort();
}
