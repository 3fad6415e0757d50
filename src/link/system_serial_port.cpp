#include "link/system_serial_port.h"

#include "link/serial_device.h"

#include <QMetaObject>
#include <cerrno>
#include <cstring>

SystemSerialPort::SystemSerialPort(QObject* parent) : QObject(parent)
{
    connect(&port_, &QSerialPort::errorOccurred, this, &SystemSerialPort::on_error);
    connect(&port_, &QSerialPort::readyRead, this, [this] { report_readable(); });
}

QString SystemSerialPort::default_device(int com_number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(com_number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(com_number - 1);
#endif
}

void SystemSerialPort::set_device(int com_number, const QString& path)
{
    devices_[com_number] = path;
}

QString SystemSerialPort::device(int com_number) const
{
    return devices_.value(com_number, default_device(com_number));
}

bool SystemSerialPort::open(int com_number, QString& error)
{
    return open_path(device(com_number), error);
}

bool SystemSerialPort::open_path(const QString& path, QString& error)
{
    close();
    failed_ = false;
    // Opened, and so locked, under its real name: a second name of the same
    // device meets the same lock.
    const QString device = canonical_device(path);
    error = device_problem(device);
    if (!error.isEmpty())
        return false;
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) {
        // A terminal ioctl refused: /dev/null, /dev/zero and the like.
        const bool not_a_tty = port_.error() == QSerialPort::UnsupportedOperationError
            && port_.errorString() == QString::fromLocal8Bit(std::strerror(ENOTTY));
        error = not_a_tty ? QString::fromLatin1(kNotSerialDevice) : port_.errorString();
        return false;
    }
    const bool settings_ok = port_.setBaudRate(QSerialPort::Baud9600)
        && port_.setDataBits(QSerialPort::Data8) && port_.setParity(QSerialPort::NoParity)
        && port_.setStopBits(QSerialPort::OneStop)
        && port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!settings_ok) {
        error = port_.errorString();
        port_.close();
        return false;
    }
    return true;
}

void SystemSerialPort::close()
{
    if (port_.isOpen())
        port_.close();
    failed_ = false;
}

bool SystemSerialPort::is_open() const
{
    return usable();
}

int SystemSerialPort::bytes_waiting()
{
    return usable() ? static_cast<int>(port_.bytesAvailable()) : 0;
}

void SystemSerialPort::discard_input()
{
    if (usable())
        port_.clear(QSerialPort::Input);
}

void SystemSerialPort::discard_output()
{
    if (usable())
        port_.clear(QSerialPort::Output);
}

int SystemSerialPort::bytes_to_send()
{
    return usable() ? static_cast<int>(port_.bytesToWrite()) : 0;
}

void SystemSerialPort::write(const QByteArray& bytes)
{
    if (!usable())
        return;
    port_.write(bytes);
    port_.flush();  // hand the bytes to the driver now, not at the next event pass
}

QByteArray SystemSerialPort::read_all()
{
    return usable() ? port_.readAll() : QByteArray();
}

bool SystemSerialPort::wait_readable(int timeout_ms)
{
    if (!usable())
        return false;
    // waitForReadyRead() waits for new data only: look at the buffer first.
    if (port_.bytesAvailable() > 0)
        return true;
    port_.waitForReadyRead(timeout_ms);
    return usable() && port_.bytesAvailable() > 0;
}

bool SystemSerialPort::wait_sent(int timeout_ms)
{
    if (!usable())
        return true;
    if (port_.bytesToWrite() == 0)
        return true;
    port_.waitForBytesWritten(timeout_ms);
    return port_.bytesToWrite() == 0;
}

// Any error but a time-out means the device is gone or broken. Qt can report
// read errors of a vanished device in a tight loop, so stop at the first one:
// mark the port failed at once and close it from the event loop, outside the
// notifier that raised the error.
void SystemSerialPort::on_error(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    if (!port_.isOpen() || failed_)
        return;
    failed_ = true;
    const QString reason = port_.errorString();
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (failed_ && port_.isOpen())
                port_.close();
        },
        Qt::QueuedConnection);
    report_lost(reason);
}
