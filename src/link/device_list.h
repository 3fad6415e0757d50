#pragma once
// The serial devices present on this computer, and a watch for one coming
// back. The real list asks the system (QSerialPortInfo and the stable names
// in /dev/serial/by-id); tests use a list they plug and unplug by hand.

#include <QList>
#include <QString>
#include <functional>

struct SerialDeviceInfo {
    QString path;          // /dev/ttyUSB0, COM3
    QString stable_name;   // /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10-if00-port0, or empty
    QString description;   // FT232R USB UART
    QString manufacturer;  // FTDI
    bool usb = false;      // an adapter on USB (the kind users plug in and out)
};

class DeviceList {
public:
    virtual ~DeviceList() = default;

    // The serial devices present now, in a stable order.
    virtual QList<SerialDeviceInfo> devices() = 0;
    // Whether something is at `path` now: a device, or a link that leads to
    // one. Cheap: called at every check of a watch.
    virtual bool exists(const QString& path) = 0;
    // Why `path` cannot be a serial device ("does not exist", "is not a
    // serial device"), or empty when it may be one.
    virtual QString problem_with(const QString& path) = 0;
    // Calls `present` at every check that finds `path` there: on a notice
    // from the system, and at most once a second otherwise, until the watch
    // is replaced or stopped. An empty `path` stops watching.
    virtual void watch(const QString& path, std::function<void()> present) = 0;
};
