#pragma once
// The smallest RFB (VNC) client that drives a pointer: wayvnc gives a
// headless compositor a virtual pointer and moves it for its clients.

#include <QByteArray>
#include <QLocalSocket>
#include <QPoint>
#include <QTest>
#include <QtEndian>

class RfbPointer {
public:
    // Connects to a server on a Unix socket and opens a session without a
    // password; false with `error` set when any step fails.
    bool connect_to(const QString& socket_path, QString& error)
    {
        socket_.connectToServer(socket_path);
        if (!socket_.waitForConnected(5000))
            return fail(error, "cannot connect to " + socket_path + ": " + socket_.errorString());
        QByteArray version = read(12);
        if (!version.startsWith("RFB 003."))
            return fail(error, "not an RFB server: " + QString::fromLatin1(version.toHex()));
        write("RFB 003.008\n");
        const QByteArray count = read(1);
        if (count.size() != 1 || count[0] == 0)
            return fail(error, "the server offers no security type");
        if (!read(uchar(count[0])).contains(char(1)))
            return fail(error, "the server wants a password");
        write(QByteArray(1, char(1)));
        if (read(4) != QByteArray(4, '\0'))
            return fail(error, "the server refused the session");
        write(QByteArray(1, char(1)));  // shared
        const QByteArray init = read(24);
        if (init.size() != 24)
            return fail(error, "no server init");
        read(qFromBigEndian<quint32>(init.constData() + 20));  // the desktop's name
        return true;
    }

    void move_to(QPoint at) { pointer(at, buttons_); }
    // Moves as a hand does, through the points on the way and slowing down
    // at the end: XWayland places a window's first event after the pointer
    // arrived at a stale spot, so a press must not be the next event.
    void glide_to(QPoint at)
    {
        const QPoint from = at_;
        for (int i = 1; i <= 10; ++i) {
            move_to(from + (at - from) * i / 10);
            QTest::qWait(15);
        }
        for (int i = 3; i >= 0; --i) {
            move_to(at + QPoint(2 * i, 2 * i));
            QTest::qWait(25);
        }
    }
    void press(QPoint at) { pointer(at, buttons_ = 1); }
    void release(QPoint at) { pointer(at, buttons_ = 0); }
    // Moves there first and lets the compositor see the pointer arrive.
    void click(QPoint at)
    {
        glide_to(at);
        QTest::qWait(100);
        press(at);
        QTest::qWait(50);
        release(at);
    }

private:
    void pointer(QPoint at, int mask)
    {
        at_ = at;
        QByteArray m(6, '\0');
        m[0] = 5;
        m[1] = char(mask);
        qToBigEndian<quint16>(quint16(at.x()), m.data() + 2);
        qToBigEndian<quint16>(quint16(at.y()), m.data() + 4);
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
    static bool fail(QString& error, const QString& why)
    {
        error = why;
        return false;
    }

    QLocalSocket socket_;
    int buttons_ = 0;
    QPoint at_;
};
