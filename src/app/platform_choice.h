#pragma once
// Which Qt platform the panel asks for. On a Wayland desktop that also runs
// XWayland the panel prefers XWayland: there it learns where its windows
// and the pointer are, so the magnifier shows what lies under it and a
// desktop that honours a program's placement (GNOME) reopens the panel
// where it was. Native Wayland stays the fallback, and a platform the user
// chose (QT_QPA_PLATFORM, -platform) always wins.

#include <QByteArray>
#include <QStringList>

// The value for QT_QPA_PLATFORM, or empty to leave Qt's own choice.
QByteArray preferred_platform(const QByteArray& qpa_platform, const QByteArray& wayland_display,
                              const QByteArray& x_display, const QStringList& arguments);

// Sets QT_QPA_PLATFORM from the environment and the command line; call
// before the application object exists.
void choose_platform(int argc, char** argv);
