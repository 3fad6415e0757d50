#pragma once
// What the device link needs of a serial port, and nothing more. The real
// one wraps QSerialPort; tests use a scripted box on virtual time.

#include <QByteArray>
#include <QString>
#include <functional>

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens COM<com_number> at 9600,N,8,1. On failure returns false and
    // leaves the platform's reason in `error`.
    virtual bool open(int com_number, QString& error) = 0;
    virtual void close() = 0;
    virtual bool is_open() const = 0;

    virtual int bytes_waiting() = 0;
    virtual void discard_input() = 0;
    virtual void discard_output() = 0;
    virtual int bytes_to_send() = 0;
    virtual void write(const QByteArray& bytes) = 0;
    virtual QByteArray read_all() = 0;

    // The device behind COM<com_number>: a path, or a stable name that
    // leads to one. Used at the next open.
    virtual void set_device(int com_number, const QString& path)
    {
        Q_UNUSED(com_number);
        Q_UNUSED(path);
    }
    // The device behind COM<com_number>, for messages to the user.
    virtual QString device_name(int com_number) const { return QStringLiteral("COM%1").arg(com_number); }

    // Block until a byte is waiting or `timeout_ms` has passed; true when a
    // byte is waiting. Returns at once when the port is closed.
    virtual bool wait_readable(int timeout_ms) = 0;
    // Block until written bytes have left for the line or `timeout_ms` passed.
    virtual bool wait_sent(int timeout_ms) = 0;

    // Called once when the device fails while open (unplugged adapter, the
    // far end of a pty gone). The port has closed itself by then.
    void set_lost_handler(std::function<void(const QString& reason)> handler)
    {
        lost_handler_ = std::move(handler);
    }

    // Called when bytes have arrived while the port is open: from the event
    // loop, or from inside one of the waits above (as QSerialPort does).
    void set_readable_handler(std::function<void()> handler) { readable_handler_ = std::move(handler); }

protected:
    void report_lost(const QString& reason)
    {
        if (lost_handler_)
            lost_handler_(reason);
    }
    void report_readable()
    {
        if (readable_handler_)
            readable_handler_();
    }

private:
    std::function<void(const QString&)> lost_handler_;
    std::function<void()> readable_handler_;
};
