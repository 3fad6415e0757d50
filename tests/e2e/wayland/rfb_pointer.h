#pragma once
// The smallest RFB (VNC) client that drives a pointer: wayvnc gives a
// headless compositor a virtual pointer and moves it for its clients.

#include "../desktops/desktop_session.h"

#include <QLocalSocket>
#include <QtEndian>

class RfbPointer : public desktop_test::Pointer {
public:
    // Opens a session without a password on a Unix socket; why not, when a
    // step fails.
    QString connect_to(const QString& socket_path)
    {
        socket_.connectToServer(socket_path);
        if (!socket_.waitForConnected(5000) || !read(12).startsWith("RFB 003."))
            return "no RFB server at " + socket_path + ": " + socket_.errorString();
        write("RFB 003.008\n");
        const QByteArray count = read(1);
        if (count.size() != 1 || !read(uchar(count[0])).contains(char(1)))
            return QStringLiteral("the server offers no session without a password");
        write(QByteArray(1, char(1)));
        if (read(4) != QByteArray(4, '\0'))
            return QStringLiteral("the server refused the session");
        write(QByteArray(1, char(1)));  // shared
        const QByteArray init = read(24);
        read(init.size() == 24 ? qFromBigEndian<quint32>(init.constData() + 20) : 0);  // the desktop's name
        return init.size() == 24 ? QString() : QStringLiteral("no server init");
    }

    void move_to(QPoint at) override { at_ = at, send(); }
    void button(bool down) override { buttons_ = down, send(); }

private:
    void send()
    {
        QByteArray m(6, '\0');
        m[0] = 5;
        m[1] = char(buttons_);
        qToBigEndian<quint16>(quint16(at_.x()), m.data() + 2);
        qToBigEndian<quint16>(quint16(at_.y()), m.data() + 4);
        write(m);
    }
    void write(const QByteArray& bytes)
    {
        socket_.write(bytes);
        socket_.waitForBytesWritten(2000);
    }
    QByteArray read(qint64 n)
    {
        QByteArray out;
        while (out.size() < n && (socket_.bytesAvailable() > 0 || socket_.waitForReadyRead(5000)))
            out += socket_.read(n - out.size());
        return out;
    }

    QLocalSocket socket_;
    int buttons_ = 0;
};
