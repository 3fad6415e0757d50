#pragma once
// The smallest RFB (VNC) client that drives a pointer: wayvnc gives a
// headless compositor a virtual pointer and moves it for its clients.

#include <QLocalSocket>
#include <QPoint>
#include <QTest>
#include <QtEndian>

class RfbPointer {
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

    void move_to(QPoint at) { pointer(at, buttons_); }
    // Moves as a hand does, through the points on the way and slowing down
    // at the end: XWayland places a window's first event after the pointer
    // arrived at a stale spot, so a press must not be the next event.
    void glide_to(QPoint at, int step_ms = 15)
    {
        const QPoint from = at_;
        for (int i = 1; i <= 10; ++i) {
            move_to(from + (at - from) * i / 10);
            QTest::qWait(step_ms);
        }
        for (int i = 3; i >= 0; --i) {
            move_to(at + QPoint(2 * i, 2 * i));
            QTest::qWait(25);
        }
    }
    void click(QPoint at) { drag(at, {}, 100, 50); }
    // Presses at `from`, moves by `by` at a hand's pace and lets go.
    void drag(QPoint from, QPoint by, int settle_ms = 150, int hold_ms = 150)
    {
        glide_to(from);
        QTest::qWait(settle_ms);
        pointer(from, buttons_ = 1);
        QTest::qWait(hold_ms);
        if (!by.isNull()) {
            glide_to(from + by, 40);
            QTest::qWait(150);
        }
        pointer(from + by, buttons_ = 0);
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

    QLocalSocket socket_;
    int buttons_ = 0;
    QPoint at_;
};
