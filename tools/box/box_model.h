#pragma once
// A simulated QV-742: keeps the box's settings, answers every command with one
// six-byte message, and sends a ready message after the slow operations.
// Pure logic on a caller-supplied clock (microseconds), so the same model
// serves the simulator on a pseudo-terminal and the tests' fake port.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

struct BoxConfig {
    bool power_on = true;
    bool zoom_mode = false;
    int version = 105;
    int reply_delay_ms = 2;    // from the command's last byte to the reply
    int ready_delay_ms = 400;  // from the reply to the ready message
    bool answer_commands = true;
    bool send_ready = true;
    bool paced = false;        // bytes take their real 9600-baud line time
};

// Something the box sends: `message` is there at `at_us`; when paced, that is
// when its first byte is complete, and the others follow `byte_interval_us`
// apart.
struct Emission {
    qint64 at_us = 0;
    QByteArray message;
    qint64 byte_interval_us = 0;
};

struct BoxInput {
    QStringList commands;             // complete commands framed from the bytes
    std::vector<Emission> emissions;  // what the box sends in answer
};

class BoxModel {
public:
    static constexpr qint64 kByteTimeUs = 10'000'000 / 9600;  // 10 bits a byte
    static inline const QByteArray kReadyMessage = QByteArrayLiteral("RDY000");

    explicit BoxModel(BoxConfig config = {});

    // Bytes from the panel arriving at `now_us`.
    BoxInput receive(const QByteArray& bytes, qint64 now_us);
    // A message the box sends on its own now; its setting is taken over too.
    Emission announce(const QString& message, qint64 now_us);

    // Current value for a mnemonic, as a "999" query would report it.
    int value(const QString& mnemonic) const;
    BoxConfig& config() { return config_; }

private:
    QString apply(const QString& command);
    void reset_all();
    void reset_video();
    qint64 line_time_us(int bytes) const;

    BoxConfig config_;
    QMap<QString, int> values_;
    QByteArray pending_;
    qint64 last_byte_us_ = 0;
};
