#pragma once
// A serial port on virtual time. Bytes arrive on a schedule: scripted by the
// test, or answered by the simulated box. Waiting moves the clock straight to
// the next arrival or the deadline, so time limits are exact and tests fast.
// Like QSerialPort it gives a readable notice whenever bytes arrive while it
// is open, also from inside a wait; pass_time() lets idle time go by.

#include "box/box_model.h"
#include "link/serial_port.h"
#include "virtual_clock.h"

#include <QMap>
#include <QStringList>
#include <map>
#include <utility>
#include <set>

class FakePort : public SerialPort {
public:
    explicit FakePort(VirtualClock& clock, BoxModel* box = nullptr) : clock_(clock), box_(box) {}

    void arrive_at(qint64 at_ms, const QByteArray& bytes) { schedule_.emplace(at_ms, bytes); }
    void arrive_in(qint64 delay_ms, const QByteArray& bytes) { arrive_at(clock_.now + delay_ms, bytes); }
    // The device vanishes: the port closes and reports it.
    void unplug(const QString& reason = QStringLiteral("Input/output error")) { open_ = false, report_lost(reason); }
    void set_box(BoxModel* box) { box_ = box; }
    // Idle time goes by: what is due arrives, with its readable notice.
    void pass_time(qint64 ms) { clock_.now += ms, deliver(); }

    std::set<int> present = {1, 2};   // ports that can be opened
    QStringList written;              // every write, as text
    QStringList unanswered;           // commands the box does not answer
    int opens = 0;
    int input_discards = 0;
    int output_discards = 0;
    int waits = 0;                    // calls of wait_readable: a spinning wait shows here
    std::set<QString> absent;         // device paths that cannot be opened
    qint64 unplug_at = -1;            // the device vanishes at this time
    int pending_output = 0;           // bytes the line has not taken yet
    qint64 drain_at_ms = 0;           // when pending output leaves

    bool open(int com_number, QString& error) override
    {
        ++opens;
        open_ = present.count(com_number) > 0 && !absent.count(device_name(com_number));
        error = open_ ? QString() : QStringLiteral("No such file or directory");
        return open_;
    }
    void close() override { open_ = false; }
    void set_device(int com_number, const QString& path) override { devices_[com_number] = path; }
    QString device_name(int com_number) const override
    {
        return devices_.value(com_number, QStringLiteral("COM%1").arg(com_number));
    }
    bool is_open() const override { return open_; }
    int bytes_waiting() override
    {
        deliver();
        return open_ ? static_cast<int>(rx_.size()) : 0;
    }
    void discard_input() override
    {
        deliver();
        rx_.clear();
        ++input_discards;
    }
    void discard_output() override { pending_output = 0, ++output_discards; }
    int bytes_to_send() override
    {
        if (pending_output && clock_.now >= drain_at_ms)
            pending_output = 0;
        return pending_output;
    }
    void write(const QByteArray& bytes) override
    {
        written << QString::fromLatin1(bytes);
        if (!box_ || unanswered.contains(QString::fromLatin1(bytes)))
            return;
        const BoxInput input = box_->receive(bytes, clock_.now * 1000);
        for (const Emission& e : input.emissions) {
            if (e.byte_interval_us <= 0) {
                arrive_at(ceil_ms(e.at_us), e.message);
                continue;
            }
            for (int i = 0; i < e.message.size(); ++i)
                arrive_at(ceil_ms(e.at_us + i * e.byte_interval_us), e.message.mid(i, 1));
        }
    }
    QByteArray read_all() override
    {
        deliver();
        return open_ ? std::exchange(rx_, {}) : QByteArray();
    }
    bool wait_readable(int timeout_ms) override
    {
        ++waits;
        if (!open_)
            return false;
        deliver();
        if (!rx_.isEmpty())
            return true;
        const qint64 deadline = clock_.now + timeout_ms;
        if (unplug_at >= 0 && unplug_at <= deadline
            && (schedule_.empty() || schedule_.begin()->first > unplug_at)) {
            clock_.now = std::max(clock_.now, unplug_at);
            unplug_at = -1;
            unplug();
            return false;
        }
        if (!schedule_.empty() && schedule_.begin()->first <= deadline) {
            clock_.now = std::max(clock_.now, schedule_.begin()->first);
            deliver();
            return true;
        }
        clock_.now = deadline;
        return false;
    }
    bool wait_sent(int timeout_ms) override
    {
        if (bytes_to_send() == 0)
            return true;
        if (drain_at_ms <= clock_.now + timeout_ms) {
            clock_.now = std::max(clock_.now, drain_at_ms);
            pending_output = 0;
            return true;
        }
        clock_.now += timeout_ms;
        return false;
    }

    // Time of the next scheduled arrival, or -1 (the collector fuzz target steps by it).
    qint64 next_arrival() const { return schedule_.empty() ? -1 : schedule_.begin()->first; }

private:
    static qint64 ceil_ms(qint64 us) { return (us + 999) / 1000; }
    void deliver()
    {
        bool arrived = false;
        while (!schedule_.empty() && schedule_.begin()->first <= clock_.now) {
            if (open_) {
                rx_ += schedule_.begin()->second;
                arrived = true;
            }
            schedule_.erase(schedule_.begin());
        }
        if (arrived)
            report_readable();
    }

    VirtualClock& clock_;
    BoxModel* box_;
    std::multimap<qint64, QByteArray> schedule_;
    QByteArray rx_;
    bool open_ = false;
    QMap<int, QString> devices_;
};
