# Shared by the scripts: where things are, installing what is missing, building.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD=${QV742_BUILD_DIR:-$ROOT/build}

# Debian packages the build, the tests and the demo need. The third line is
# the headless Wayland session of tst_wayland_e2e: compositor and XWayland,
# the screenshot portal and what it needs, the tray host, a virtual pointer
# (wayvnc), screenshots (grim) and Qt's Wayland platform. The last builds
# the KDE test's pointer (KWin's fake-input protocol) and names the panel's
# X11 windows' desktop entry (xcb).
PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-qpa-plugins
          fonts-liberation xvfb xauth xdotool
          dbus at-spi2-core python3-pyatspi
          sway swaybg xwayland xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk
          qt6-wayland grim wayvnc pipewire dbus-user-session
          libwayland-dev plasma-wayland-protocols libxcb1-dev)

# The two whole desktops of tst_gnome_e2e and tst_kde_e2e (CTest label
# "desktop"), installed for scripts/test --full only: GNOME Shell with its
# portal and the session manager of sound; KWin, Plasma's shell
# with what it needs to come up (activities, Qt 5's Wayland platform), its
# portal and spectacle.
DESKTOP_PACKAGES=(gnome-shell wireplumber xdg-desktop-portal-gnome libglib2.0-bin dconf-gsettings-backend
                  kwin-wayland plasma-desktop plasma-workspace kded5 kactivitymanagerd breeze qtwayland5
                  kde-spectacle xdg-desktop-portal-kde)

# Installs missing packages with apt-get when running as root; otherwise
# prints the exact command and stops.
ensure_packages() {
  if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "note: not a Debian system; make sure these are installed: ${PACKAGES[*]}" >&2
    return 0
  fi
  local missing=() p
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "These Debian packages are missing. Install them with:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
}

# Configures (once) and builds into $BUILD.
build_project() {
  if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  fi
  cmake --build "$BUILD" -j2
}
