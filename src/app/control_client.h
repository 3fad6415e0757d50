#pragma once
// The client side of the panel's control socket, for programs without an
// event loop of their own: a second start of the panel and qv742-ctl.
// Every wait blocks on the socket with the time left.

#include "app/control_protocol.h"

#include <QLocalSocket>
#include <optional>

class ControlClient {
public:
    // Connects to this user's running panel, trying again for up to
    // `retry_ms` while nothing answers yet (a panel still starting). False,
    // with the reason, when no panel of this user answers.
    bool connect_to_panel(int retry_ms, QString& error);

    // Sends one request. A panel that has closed the connection makes it
    // fail quietly: what it said before closing is still read by next().
    void send(const QByteArray& line);
    // The next answer line; nothing when the panel closed the connection or
    // said nothing within `timeout_ms` (failure() tells which). WAIT lines
    // (a request waits for the panel's own routine) are taken here; with
    // `silence_ms`, a panel that says nothing at all, not even WAIT, for
    // that long is given up on, as one that is stopped or hangs.
    std::optional<control::Answer> next(int timeout_ms, int silence_ms = -1);
    const QString& failure() const { return failure_; }
    // The last next() ran out of time (the panel may only be busy).
    bool timed_out() const { return timed_out_; }
    void close();

private:
    QLocalSocket socket_;
    control::LineReader reader_{control::kMaxAnswerBytes};
    QString failure_;
    bool timed_out_ = false;
};
