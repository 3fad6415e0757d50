#pragma once
// Collecting what the box sends under the protocol's time limits. Waits
// block on the port with the remaining time; they never spin.

#include <QString>
#include <QtGlobal>

class SerialPort;
class Clock;

class ReplyCollector {
public:
    // Time limits, in milliseconds.
    static constexpr int kReplyGapMs = 300;     // first byte, and between chunks
    static constexpr int kReadyWaitMs = 5000;   // first byte of the ready message
    static constexpr int kMaxCollectMs = 1000;  // an unbroken stream ends here

    ReplyCollector(SerialPort& port, Clock& clock) : port_(port), clock_(clock) {}

    // Waits until a byte is waiting, or more than `limit_ms` passed since
    // `since`; false then, or when the port closed.
    bool wait_for_byte(qint64 since, int limit_ms);

    // Takes the chunks the port delivers until exactly six bytes were taken.
    // A gap over 0.3 s, a count past six, or a stream running over 1 s
    // without a gap (or past `deadline_ms`, when given) ends as "NONE".
    QString collect(qint64 deadline_ms = -1);

private:
    SerialPort& port_;
    Clock& clock_;
};
