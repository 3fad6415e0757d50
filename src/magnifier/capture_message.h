#pragma once
// What the magnifier's view says when the desktop gives it no picture:
// worded for the desktop it is on, with what the user can do about it.

#include "platform/desktop.h"

#include <QByteArray>
#include <QString>

enum class DesktopKind { gnome, kde, other };

// From XDG_CURRENT_DESKTOP, a colon-separated list ("ubuntu:GNOME").
DesktopKind desktop_kind(const QByteArray& current_desktop);

// Rich text for the view.
QString capture_message(CaptureProblem problem, DesktopKind desktop);
