#pragma once
// The real panel window on virtual time (PanelRig) with its control socket
// open in a private folder, and a client in this thread: its waits run the
// event loop, so the panel serves meanwhile.

#include "app/come_forward.h"
#include "app/control_server.h"
#include "panel_rig.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

struct ServedPanel {
    explicit ServedPanel(const BoxConfig& box = {}) : rig(box) {}
    bool start()
    {
        rig.start();
        server = std::make_unique<ControlServer>(ControlTarget{
            &rig.p(), [this] { come_forward(rig.frm()); }, [](int com) { return QStringLiteral("/dev/qv-com%1").arg(com); }});
        return server->listen(path(), error);
    }
    // Where a panel of this user listens when XDG_RUNTIME_DIR is `folder`.
    QString path() const { return folder.filePath("qv742-panel.socket"); }

    PanelRig rig;
    QTemporaryDir folder;
    std::unique_ptr<ControlServer> server;
    QString error;
};

struct TestClient {
    explicit TestClient(const QString& path)
    {
        socket.connectToServer(path);
        socket.waitForConnected(2000);
    }
    void say(const QByteArray& line) { socket.write(line + '\n'), socket.flush(); }
    // The next line; empty when none came in time.
    QByteArray line()
    {
        const QDeadlineTimer deadline(5000);
        while (!socket.canReadLine() && !deadline.hasExpired() && socket.state() == QLocalSocket::ConnectedState)
            QTest::qWait(2);
        return socket.canReadLine() ? socket.readLine().chopped(1) : QByteArray();
    }
    QByteArray ask(const QByteArray& request) { return say(request), line(); }
    bool closed()
    {
        for (int i = 0; i < 2500 && socket.state() != QLocalSocket::UnconnectedState; ++i)
            QTest::qWait(2);
        return socket.state() == QLocalSocket::UnconnectedState;
    }
    QLocalSocket socket;
};
