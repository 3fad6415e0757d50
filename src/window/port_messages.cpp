#include "window/port_messages.h"

#include "link/serial_device.h"

namespace {

enum class Cause { Busy, Permission, Missing, NoHardware, NotSerial, TooLong, Other };

// QSerialPort gives the system's error text, or its own for its lock file;
// the port itself names a device that cannot be a serial port.
Cause cause_of(const QString& reason)
{
    const QString r = reason.toLower();
    if (r.contains(QLatin1String(kLockNameTooLong)))
        return Cause::TooLong;
    if (r.contains(QLatin1String(kNotSerialDevice)) || r.contains(QLatin1String("inappropriate ioctl")))
        return Cause::NotSerial;
    // Qt's lock file is held by another program ("Permission error while
    // locking the device"), or the kernel says the device is taken.
    if (r.contains(QLatin1String("locking")) || r.contains(QLatin1String("busy"))
        || r.contains(QLatin1String("in use")))
        return Cause::Busy;
    if (r.contains(QLatin1String("permission")) || r.contains(QLatin1String("not permitted"))
        || r.contains(QLatin1String("access")))
        return Cause::Permission;
    if (r.contains(QLatin1String("no such file")) || r.contains(QLatin1String("not found"))
        || r.contains(QLatin1String("no such device")))
        return Cause::Missing;
    // /dev/ttyS0..3 exist on most PCs even without a serial port behind them.
    if (r.contains(QLatin1String("input/output")))
        return Cause::NoHardware;
    return Cause::Other;
}

}  // namespace

QString port_failure_detail(int com_port, const QString& device, const QString& reason)
{
    return port_failure_detail(com_port, device, reason,
                               cause_of(reason) == Cause::Permission ? serial_access(device) : SerialAccess());
}

QString port_failure_detail(int com_port, const QString& device, const QString& reason, const SerialAccess& access)
{
    const QString option = QStringLiteral("--com%1").arg(com_port);
    const Cause cause = cause_of(reason);
    QString text = cause == Cause::NotSerial ? QStringLiteral("%1 is not a serial device.").arg(device)
                                             : QStringLiteral("%1: %2.").arg(device, reason);
    switch (cause) {
    case Cause::Busy:
        text += QStringLiteral(
            "\n\nAnother program is using the port (another panel, qv742-ctl or a terminal program). "
            "Close it first.");
        break;
    case Cause::Permission:
        if (access.in_session) {
            text += QStringLiteral("\n\nYou are in the %1 group, yet the device refused access: "
                                   "check its permissions with: ls -l %2")
                        .arg(access.group, device);
        } else if (access.member) {
            text += QStringLiteral("\n\nYou were added to the %1 group after this session started. "
                                   "Log out and in again (or restart the computer) so that it takes effect.")
                        .arg(access.group);
        } else {
            text += QStringLiteral("\n\nTo use serial ports your account must be in the %1 group. "
                                   "Add it with\n    sudo adduser $USER %1\n"
                                   "then log out and in again (or restart the computer) so that it takes effect.")
                        .arg(access.group);
        }
        break;
    case Cause::Missing:
        text += QStringLiteral(
            "\n\nCheck that the adapter is plugged in, or choose the device with %1 "
            "(for example %1 /dev/ttyUSB0).")
                    .arg(option);
        break;
    case Cause::NoHardware:
        text += QStringLiteral(
            "\n\nThis computer may have no serial port behind %1. A USB-serial adapter is usually "
            "/dev/ttyUSB0: start the panel with %2 /dev/ttyUSB0.")
                    .arg(device, option);
        break;
    case Cause::NotSerial:
        text += QStringLiteral(
            "\n\nChoose the serial device the box is attached to with %1, for example %1 /dev/ttyUSB0.")
                    .arg(option);
        break;
    case Cause::TooLong:
        text += QStringLiteral(
            "\n\nUse a shorter path with %1: the device itself (for example /dev/ttyUSB0) or a shorter "
            "link to it.")
                    .arg(option);
        break;
    case Cause::Other:
        break;
    }
    text += QStringLiteral("\n\nPress a COM button to try again.");
    return text;
}

QString port_lost_detail(const QString& device, const QString& reason)
{
    return QStringLiteral("%1 stopped working: %2. Press a COM button to open it again.").arg(device, reason);
}
