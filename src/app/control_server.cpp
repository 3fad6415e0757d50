#include "app/control_server.h"

#include "app/control_protocol.h"
#include "core/shared_state.h"
#include "link/device_link.h"
#include "panel/client_command.h"
#include "panel/panel.h"
#include "platform/user_socket.h"

#include <QApplication>
#include <QLocalSocket>
#include <QTimer>
#include <algorithm>

using control::answer_line;

namespace {
constexpr int kGoodbyeMs = 5000;
// How often a client whose request waits hears so.
constexpr int kKeepAliveMs = 1000;
}

// One client. Its requests are handled in order: while one waits in the
// queue or runs, the rest stay unread in the socket.
class ControlConnection : public QObject {
public:
    explicit ControlConnection(QLocalSocket* s, QObject* parent) : QObject(parent), socket(s)
    {
        socket->setParent(this);
    }
    QLocalSocket* socket;
    control::LineReader reader;
    bool busy = false;       // a request is queued or running
    bool closed = false;     // told to go, or dropped
    bool listening = false;  // follows the box's own messages
    QString waiting;         // its command, while it waits in the queue
    QString bound;           // the device it asked about, canonical
    QString lost;            // the port was lost while its command ran
};

ControlServer::ControlServer(ControlTarget target, QObject* parent)
    : QObject(parent), target_(std::move(target)), queue_(target_.panel->link)
{
    connect(&server_, &QLocalServer::newConnection, this, &ControlServer::accept);
    keep_alive_.setInterval(kKeepAliveMs);
    connect(&keep_alive_, &QTimer::timeout, this, &ControlServer::keep_alive);
    target_.panel->link.add_observer(link_events_);
}

ControlServer::~ControlServer()
{
    target_.panel->link.remove_observer(link_events_);
    stop();
}

bool ControlServer::listen(const QString& path, QString& error)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(1000)) {
        error = QStringLiteral("another panel already answers at %1").arg(path);
        return false;
    }
    QLocalServer::removeServer(path);  // anything there was left by a panel that is gone
    server_.setSocketOptions(private_socket_options());
    server_.setMaxPendingConnections(kMaxClients);
    if (!server_.listen(path)) {
        error = QStringLiteral("cannot listen at %1: %2").arg(path, server_.errorString());
        return false;
    }
    if (!restrict_to_user(server_.fullServerName())) {
        error = QStringLiteral("cannot restrict %1 to this user").arg(path);
        server_.close();
        return false;
    }
    return true;
}

void ControlServer::stop()
{
    server_.close();
    const std::vector<ControlConnection*> all = clients_;
    clients_.clear();
    for (ControlConnection* c : all) {
        c->closed = true;
        c->socket->abort();
        c->deleteLater();
    }
}

void ControlServer::accept()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (!peer_is_this_user(socket->socketDescriptor())) {
            refuse(socket, QStringLiteral("this panel belongs to another user"));
            continue;
        }
        if (clients() >= kMaxClients) {
            refuse(socket, QStringLiteral("the panel has %1 clients already; try again later").arg(kMaxClients));
            continue;
        }
        auto* c = new ControlConnection(socket, this);
        // Unread requests stay with the system, not in this process.
        socket->setReadBufferSize(4096);
        clients_.push_back(c);
        connect(socket, &QLocalSocket::readyRead, c, [this, c] { pump(c); });
        connect(socket, &QLocalSocket::disconnected, c, [this, c] { drop(c); });
        pump(c);
    }
}

void ControlServer::refuse(QLocalSocket* socket, const QString& reason)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    socket->write(answer_line("ERROR", reason));
    socket->flush();
    socket->disconnectFromServer();
    if (socket->state() == QLocalSocket::UnconnectedState)
        socket->deleteLater();
    else
        QTimer::singleShot(kGoodbyeMs, socket, &QLocalSocket::abort);
}

void ControlServer::pump(ControlConnection* c)
{
    while (!c->closed && !c->busy) {
        if (const auto line = c->reader.take_line()) {
            handle(c, *line);
            continue;
        }
        if (c->reader.failed()) {
            close_with(c, "ERROR", QStringLiteral("a request is one line of at most %1 bytes")
                                       .arg(control::kMaxRequestBytes));
            return;
        }
        const QByteArray chunk = c->socket->read(control::kMaxRequestBytes + 1);
        if (chunk.isEmpty())
            return;
        c->reader.feed(chunk);
    }
}

void ControlServer::handle(ControlConnection* c, const QByteArray& line)
{
    QString error;
    const auto request = control::parse_request(line, error);
    if (!request) {
        close_with(c, "ERROR", error);
        return;
    }
    const QPointer<ControlConnection> guarded(c);
    switch (request->kind) {
    case control::RequestKind::Device:
        answer_device(c, request->com);
        break;
    case control::RequestKind::Listen:
        c->listening = true;
        send(c, answer_line("OK"));
        break;
    case control::RequestKind::Show:
        c->busy = true;
        queue_.push([this, guarded, token = request->token] {
            if (!guarded || guarded->closed)
                return;
            target_.come_forward(token);
            finish(guarded, answer_line("OK"));
        });
        break;
    case control::RequestKind::Command:
        c->busy = true;
        c->waiting = request->command;
        queue_.push([this, guarded, command = request->command] { run_command(guarded, command); });
        break;
    }
    if (c->busy && !keep_alive_.isActive())
        keep_alive_.start();
}

// Clients whose request waits hear WAIT each second, so that a panel that
// says nothing at all (stopped, hung) is told from a busy one. A command
// held up by a box that waits for the user is not kept waiting: the client
// hears why, and the command is dropped.
void ControlServer::keep_alive()
{
    const bool user_asked = QApplication::activeModalWidget() != nullptr;
    bool waiting = false;
    for (ControlConnection* c : std::vector<ControlConnection*>(clients_)) {
        if (!c->busy || c->closed)
            continue;
        if (user_asked && !c->waiting.isEmpty()) {
            close_with(c, "HELD",
                       QStringLiteral("the panel is waiting for its user to close a message box; %1 was not sent")
                           .arg(c->waiting));
            continue;
        }
        waiting = true;
        send(c, answer_line("WAIT"));
    }
    if (!waiting)
        keep_alive_.stop();
}

QString ControlServer::device_in_use() const
{
    const SharedState& st = target_.panel->st;
    return st.port_open ? control::canonical_device(target_.device(st.com_port)) : QString();
}

// Asking for the device in use binds the client to it: if the panel stops
// using it, the client hears so instead of reaching another box.
void ControlServer::answer_device(ControlConnection* c, int com)
{
    if (com != 0) {
        send(c, answer_line("DEVICE", control::canonical_device(target_.device(com))));
        return;
    }
    const QString device = device_in_use();
    if (device.isEmpty()) {
        send(c, answer_line("NODEVICE"));
        return;
    }
    c->bound = device;
    send(c, answer_line("DEVICE", device));
}

void ControlServer::run_command(const QPointer<ControlConnection>& c, const QString& command)
{
    if (!c || c->closed)
        return;
    // A client that gave up meanwhile may have gone unnoticed: its command
    // must not reach the box then.
    c->socket->waitForReadyRead(0);
    if (!c || c->closed)
        return;
    c->waiting.clear();
    if (!c->bound.isEmpty() && device_in_use() != c->bound) {
        close_with(c, "LOST", QStringLiteral("the panel no longer uses this device"));
        return;
    }
    const ClientAnswer a = run_client_command(*target_.panel, command);
    if (!c || c->closed)
        return;  // gone meanwhile: nobody to tell
    QByteArray out = answer_line("REPLY", a.reply);
    if (!a.ready.isEmpty())
        out += answer_line("READY", a.ready);
    finish(c, out);
}

void ControlServer::finish(ControlConnection* c, const QByteArray& answer)
{
    send(c, answer);
    c->busy = false;
    if (!c->lost.isEmpty())
        close_with(c, "LOST", c->lost);
    else
        pump(c);
}

void ControlServer::send(ControlConnection* c, const QByteArray& line)
{
    if (c->closed || c->socket->state() != QLocalSocket::ConnectedState)
        return;
    c->socket->write(line);
    c->socket->flush();
    if (c->socket->bytesToWrite() > kMaxUnsent) {
        // It stopped reading: let it go rather than keep its answers.
        c->socket->abort();
        drop(c);
    }
}

// The last line gets a moment to leave; a client that does not take it
// loses its connection anyway.
void ControlServer::close_with(ControlConnection* c, const char* word, const QString& text)
{
    send(c, answer_line(word, text));
    if (c->closed)
        return;
    c->closed = true;
    c->socket->disconnectFromServer();
    if (c->socket->state() != QLocalSocket::UnconnectedState)
        QTimer::singleShot(kGoodbyeMs, c, [c] { c->socket->abort(); });
}

void ControlServer::drop(ControlConnection* c)
{
    c->closed = true;
    const auto at = std::find(clients_.begin(), clients_.end(), c);
    if (at == clients_.end())
        return;
    clients_.erase(at);
    c->deleteLater();
}

void ControlServer::box_message(const QString& message)
{
    const QString device = device_in_use();
    for (ControlConnection* c : std::vector<ControlConnection*>(clients_)) {
        if (!c->listening || c->closed)
            continue;
        if (!c->bound.isEmpty() && device != c->bound)
            close_with(c, "LOST", QStringLiteral("the panel no longer uses this device"));
        else
            send(c, answer_line("MSG", message));
    }
}

void ControlServer::port_lost(const QString& reason)
{
    for (ControlConnection* c : std::vector<ControlConnection*>(clients_)) {
        if (c->bound.isEmpty() || c->closed)
            continue;
        if (c->busy)
            c->lost = reason;  // after the answer it is waiting for
        else
            close_with(c, "LOST", reason);
    }
}
