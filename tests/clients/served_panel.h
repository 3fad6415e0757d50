#pragma once
// The real panel window on virtual time (PanelRig) with its control socket
// open in a private folder, and clients that talk to it from this thread:
// every wait for an answer runs the event loop, so the panel serves meanwhile.

#include "app/come_forward.h"
#include "app/control_server.h"
#include "panel_rig.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class ServedPanel {
public:
    explicit ServedPanel(const BoxConfig& box = {}) : rig(box) {}

    // Starts the panel and listens; false when the socket cannot be opened.
    bool start()
    {
        rig.start();
        ControlTarget target;
        target.panel = &rig.p();
        target.come_forward = [this] { come_forward(rig.frm()); };
        target.device = [](int com) { return QStringLiteral("/dev/qv-test-com%1").arg(com); };
        server = std::make_unique<ControlServer>(target);
        return server->listen(path(), error);
    }
    // The name a panel of this user listens at, with XDG_RUNTIME_DIR = folder.
    QString path() const { return folder.filePath("qv742-panel.socket"); }

    PanelRig rig;
    QTemporaryDir folder;
    std::unique_ptr<ControlServer> server;
    QString error;
};

class TestClient {
public:
    explicit TestClient(const QString& path)
    {
        socket.connectToServer(path);
        socket.waitForConnected(2000);
    }
    void say(const QByteArray& line)
    {
        socket.write(line + '\n');
        socket.flush();
    }
    // The next line, without its end; empty when none came in `ms`.
    QByteArray line(int ms = 5000)
    {
        const QDeadlineTimer deadline(ms);
        while (!socket.canReadLine() && !deadline.hasExpired() && socket.state() == QLocalSocket::ConnectedState)
            QTest::qWait(2);
        return socket.canReadLine() ? socket.readLine().chopped(1) : QByteArray();
    }
    QByteArray ask(const QByteArray& request)
    {
        say(request);
        return line();
    }
    // Runs the event loop until the panel has closed this connection.
    bool closed(int ms = 5000)
    {
        const QDeadlineTimer deadline(ms);
        while (socket.state() != QLocalSocket::UnconnectedState && !deadline.hasExpired())
            QTest::qWait(2);
        return socket.state() == QLocalSocket::UnconnectedState;
    }

    QLocalSocket socket;
};
