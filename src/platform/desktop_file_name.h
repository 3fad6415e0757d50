#pragma once
// Ties the program's windows to its desktop entry, so a task manager shows
// the entry's name and icon. Qt tells a Wayland compositor (the app id) but
// not an X server: there KWin reads _KDE_NET_WM_DESKTOP_FILE, which this
// sets on each window (XWayland included).

#include <QString>

class QWidget;

// The entry's name without ".desktop": the package's, or the one
// scripts/run writes for a build (a program with its bmp folder beside it).
QString desktop_file_name(bool run_from_build);

// Names the application's desktop file on `window` where the platform
// needs it per window (X11); elsewhere nothing.
void name_desktop_file(QWidget& window);
