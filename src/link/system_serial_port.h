#pragma once
// The real serial port, on QSerialPort. COM1 and COM2 stand for device
// paths given on the command line (or the platform's defaults).

#include "link/serial_port.h"

#include <QMap>
#include <QObject>
#include <QSerialPort>

class SystemSerialPort : public QObject, public SerialPort {
    Q_OBJECT
public:
    explicit SystemSerialPort(QObject* parent = nullptr);

    void set_device(int com_number, const QString& path) override;
    QString device(int com_number) const;
    QString device_name(int com_number) const override { return device(com_number); }
    static QString default_device(int com_number);

    bool open(int com_number, QString& error) override;
    void close() override;
    bool is_open() const override;
    int bytes_waiting() override;
    void discard_input() override;
    void discard_output() override;
    int bytes_to_send() override;
    void write(const QByteArray& bytes) override;
    QByteArray read_all() override;
    bool wait_readable(int timeout_ms) override;
    bool wait_sent(int timeout_ms) override;

    // Opens a device path directly (the command-line client).
    bool open_path(const QString& path, QString& error);

private:
    void on_error(QSerialPort::SerialPortError error);
    bool usable() const { return port_.isOpen() && !failed_; }

    QSerialPort port_;
    QMap<int, QString> devices_;
    bool failed_ = false;
};
