#pragma once
// The panel's control socket: a second start of the panel and scripts
// (qv742-ctl) reach the running panel through it. Only this user may
// connect; a few clients at a time. Their commands wait in an IdleQueue and
// run one at a time between the panel's own routines, so the box never sees
// two commands at once; meanwhile their clients hear WAIT each second, and
// a command held up by a box that waits for the user is dropped with HELD.
// A client that misbehaves is told why and dropped; one that stops reading
// or vanishes never holds the panel up.

#include "app/idle_queue.h"
#include "link/link_observer.h"

#include <QLocalServer>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

struct Panel;
class ControlConnection;

// What the server works on.
struct ControlTarget {
    Panel* panel = nullptr;
    // Brings the panel (or its open magnifier) forward, with the
    // activation token of the start that asked (empty when it had none).
    std::function<void(const QString& token)> come_forward;
    // The device path behind COM1 or COM2.
    std::function<QString(int com)> device;
};

class ControlServer : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxClients = 8;
    // Answers a client has not taken yet; past this it is dropped.
    static constexpr qint64 kMaxUnsent = 64 * 1024;

    explicit ControlServer(ControlTarget target, QObject* parent = nullptr);
    ~ControlServer() override;

    // Listens at `path`. A socket left by a panel that is gone is replaced;
    // one that another panel still answers on is not.
    bool listen(const QString& path, QString& error);
    // Closes the socket and every connection.
    void stop();

    int clients() const { return static_cast<int>(clients_.size()); }
    int queued() const { return queue_.size(); }

private:
    void accept();
    void refuse(QLocalSocket* socket, const QString& reason);
    void pump(ControlConnection* c);
    void handle(ControlConnection* c, const QByteArray& line);
    void answer_device(ControlConnection* c, int com);
    void run_command(const QPointer<ControlConnection>& c, const QString& command);
    void finish(ControlConnection* c, const QByteArray& answer);
    void send(ControlConnection* c, const QByteArray& line);
    void close_with(ControlConnection* c, const char* word, const QString& text);
    void drop(ControlConnection* c);
    void box_message(const QString& message);
    void port_lost(const QString& reason);
    void keep_alive();
    QString device_in_use() const;

    // What the link tells the clients: the box's own messages, a lost port.
    class LinkEvents : public LinkObserver {
    public:
        explicit LinkEvents(ControlServer& server) : server_(server) {}
        void own_message(const QString& message) override { server_.box_message(message); }
        void port_lost(int, const QString& reason) override { server_.port_lost(reason); }
        void still_waiting() override { server_.keep_alive(); }

    private:
        ControlServer& server_;
    };

    ControlTarget target_;
    LinkEvents link_events_{*this};
    QLocalServer server_;
    IdleQueue queue_;
    std::vector<ControlConnection*> clients_;
    QTimer keep_alive_;
};
