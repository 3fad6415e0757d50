#pragma once
// The devices chosen for COM1 and COM2, in a small file of its own beside
// QVR_742.ini (which keeps its one line of five fields for other copies of
// the program):
//
//   COM1=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10-if00-port0
//   COM2=/dev/ttyUSB1
//
// Read leniently: what cannot be read is reported and left out, so the COM
// number falls back to its default.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct DeviceMap {
    QString com1;
    QString com2;
    QStringList problems;  // what could not be read, for the user

    QString& com(int n) { return n == 2 ? com2 : com1; }
};

// "QVR_742_devices.ini" in the folder of the settings file.
QString device_map_path(const QString& settings_path);

DeviceMap parse_device_map(const QByteArray& text);
QByteArray format_device_map(const QString& com1, const QString& com2);

// A missing file is no problem: nothing has been chosen yet.
DeviceMap read_device_map(const QString& path);
// Writes a new file and then replaces the old one. False with a reason.
bool write_device_map(const QString& path, const QByteArray& text, QString& error);

// What the user is told about a file that could not be read; empty when
// there was nothing wrong.
QString device_map_note(const QString& path, const DeviceMap& map);
