#include "app/control_client.h"

#include "app/control_address.h"
#include "platform/user_socket.h"

#include <QDeadlineTimer>
#include <QThread>

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
    socket_.write(line + '\n');
    socket_.waitForBytesWritten(1000);
}

std::optional<control::Answer> ControlClient::next(int timeout_ms)
{
    const QDeadlineTimer deadline(timeout_ms);
    timed_out_ = false;
    for (;;) {
        if (const auto line = reader_.take_line())
            return control::split_answer(*line);
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
        socket_.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
}

void ControlClient::close()
{
    socket_.abort();
}
