#pragma once
// What the user is told when a serial port cannot be opened or fails: the
// platform's reason and what to do about it.

#include "platform/serial_access.h"

#include <QString>

// The detail under "PC error on COMn": the reason and, where the reason is
// known, what the user can do; the advice names COMn's own option. The first
// form asks the system about access.
QString port_failure_detail(int com_port, const QString& device, const QString& reason);
QString port_failure_detail(int com_port, const QString& device, const QString& reason,
                            const SerialAccess& access);

QString port_lost_detail(const QString& device, const QString& reason);
