#pragma once
// Ties the program's windows to its desktop entry, so a task manager shows
// the entry's name and icon. Qt tells a Wayland compositor (the app id) but
// not an X server: there KWin reads _KDE_NET_WM_DESKTOP_FILE, which this
// sets on each window (XWayland included).

#include <QString>

class QApplication;

// The entry's name without ".desktop": the package's, or the one
// scripts/run writes for a build (a program with its bmp folder beside it).
QString desktop_file_name(bool run_from_build);

// From now on every window of `app` names the application's desktop file
// where the platform needs it per window (X11), as it is shown: its native
// window exists then, made with all its attributes, and is not mapped yet.
void name_desktop_file_of_windows(QApplication& app);
