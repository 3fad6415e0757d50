#pragma once
// Which device a serial-port name stands for, and names that cannot be a
// serial port at all. The port's lock file is named after the device it
// opens, so two names of one device (a symbolic link, a /dev/serial/by-id
// name) must come to the same device to exclude each other.

#include <QString>

// Reasons reported when a name cannot be opened as a serial port.
inline constexpr const char* kNotSerialDevice = "not a serial device";
inline constexpr const char* kLockNameTooLong = "the device path is too long to name its lock file after it";

// The device behind `name`, every symbolic link resolved. A short name (no
// folder) or a path that leads nowhere is returned as it is.
QString canonical_device(const QString& name);

// Why `device` cannot be a serial port, known before opening it: its lock
// file name would be too long, or it is an existing file, folder or FIFO.
// Empty when nothing is known against it.
QString device_problem(const QString& device);
