#pragma once
// What the user is told when a serial port cannot be opened or fails: the
// platform's reason and what to do about it.

#include <QString>

// Who may open a serial device. Serial devices belong to a group (dialout
// on Debian); a user must be in it, and group changes only reach sessions
// started after them.
struct SerialAccess {
    QString group = QStringLiteral("dialout");
    bool in_session = false;   // this process holds the group already
    bool member = false;       // the group database lists the user
};

// Looks the device's group and the user's memberships up on this system.
SerialAccess serial_access(const QString& device);

// The detail under "PC error on COMn": the reason and, where the reason is
// known, what the user can do. The first form asks the system about access.
QString port_failure_detail(const QString& device, const QString& reason);
QString port_failure_detail(const QString& device, const QString& reason, const SerialAccess& access);

QString port_lost_detail(const QString& device, const QString& reason);
