#pragma once
// Which serial device a COM number stands for, and how devices are named to
// the user. Pure functions: the devices present come in as a list.

#include "link/device_list.h"

#include <QString>
#include <functional>

// What a COM number should use, in the order it counts.
struct DeviceWishes {
    int com = 1;
    QString override_path;  // --com1 / --com2, for this run
    QString chosen;         // chosen in the panel and remembered
    QString default_path;   // /dev/ttyS0, /dev/ttyS1 (COM1, COM2 on Windows)
    QString taken;          // named for the other COM number: never guessed for this one
};

// The device a COM number uses, and what the user should know about it.
struct DeviceResolution {
    enum class Source { CommandLine, Chosen, Default, OnlyAdapter };
    QString path;            // opened as it is: a device path or a stable name
    Source source = Source::Default;
    QString note;            // why this device, or what went wrong; may be empty
    bool warning = false;    // the note reports a problem the user should see
};

// Index of the device that `name` (a path or a stable name) names, or -1.
int find_device(const QList<SerialDeviceInfo>& devices, const QString& name);

// What to remember for a device: its stable name where it has one, so that
// /dev/ttyUSB0 turning into /dev/ttyUSB1 changes nothing.
QString remembered_name(const SerialDeviceInfo& device);

// "FT232R USB UART, FTDI — /dev/ttyUSB0 — usb-FTDI_FT232R_USB_UART_A10-if00-port0"
QString device_label(const SerialDeviceInfo& device);

// The command line first, then the device chosen in the panel while it is
// there, then the default when a real port stands behind it; failing that
// the one USB adapter plugged in. Two or more adapters are never guessed
// between. `exists` says whether something is at a path.
DeviceResolution resolve_device(const DeviceWishes& wishes, const QList<SerialDeviceInfo>& devices,
                                const std::function<bool(const QString&)>& exists);

// The COM button's tooltip: the device, its note, and how to change it.
QString com_tooltip(int com, const DeviceResolution& resolution, const QList<SerialDeviceInfo>& devices);
