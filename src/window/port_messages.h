#pragma once
// What the user is told when a serial port cannot be opened or fails: the
// platform's reason and what to do about it.

#include <QString>

QString port_failure_detail(const QString& device, const QString& reason);
QString port_lost_detail(const QString& device, const QString& reason);
