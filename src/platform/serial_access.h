#pragma once

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
