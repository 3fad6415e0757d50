#!/usr/bin/env bash
# Writes the desktop entry of a panel run from a build (or any copy outside
# the package) into a folder of desktop entries, normally the user's
# ~/.local/share/applications:
#
#   build_desktop_entry.sh PANEL_PROGRAM APPLICATIONS_FOLDER [ICON_FILE]
#
# The entry is named qv742-panel-build.desktop, so it never hides the
# installed package's qv742-panel.desktop; the panel names it as its desktop
# file when it runs from a build. KDE Plasma finds an entry by the program's
# path in Exec: that is how KWin lets the magnifier use its screenshot
# interface without asking, and how the task manager shows the panel's
# icon. The entry stays out of menus.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 PANEL_PROGRAM APPLICATIONS_FOLDER [ICON_FILE]" >&2; exit 2; }
program=$(cd "$(dirname "$1")" && pwd -P)/$(basename "$1")
icon=${3:-qv742}
# A picture file is named by its full path; a bare name is a theme's icon.
[[ $icon != */* ]] || icon=$(cd "$(dirname "$icon")" && pwd -P)/$(basename "$icon")
mkdir -p "$2"
entry=$2/qv742-panel-build.desktop
tmp=$(mktemp "$entry.XXXXXX")
cat >"$tmp" <<ENTRY
[Desktop Entry]
Type=Application
Name=Scan Converter (build)
Comment=The QV-742 control panel from $(dirname "$program")
Exec="$program"
Icon=$icon
Terminal=false
StartupNotify=true
NoDisplay=true
StartupWMClass=qv742-panel
X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2
ENTRY
mv -f "$tmp" "$entry"
