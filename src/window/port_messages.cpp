#include "window/port_messages.h"

QString port_failure_detail(const QString& device, const QString& reason)
{
    QString text = QStringLiteral("%1: %2.").arg(device, reason);
    const QString lower = reason.toLower();
    if (lower.contains(QLatin1String("permission")) || lower.contains(QLatin1String("access"))) {
        text += QStringLiteral(
            "\n\nEither another program is using the port, or you may not use serial ports: "
            "on Linux, add yourself to the dialout group (sudo adduser $USER dialout) and log in again.");
    } else if (lower.contains(QLatin1String("no such file")) || lower.contains(QLatin1String("not found"))) {
        text += QStringLiteral(
            "\n\nCheck that the adapter is plugged in, or choose the device with --com1 or --com2 "
            "(for example --com1 /dev/ttyUSB0).");
    }
    text += QStringLiteral("\nPress a COM button to try again.");
    return text;
}

QString port_lost_detail(const QString& device, const QString& reason)
{
    return QStringLiteral("%1 stopped working: %2. Press a COM button to open it again.").arg(device, reason);
}
