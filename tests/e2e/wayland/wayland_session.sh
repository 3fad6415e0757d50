#!/usr/bin/env bash
# tst_wayland_e2e: the real panel on a real, headless Wayland session.
#
#   wayland_session.sh BIN_DIR TEST_PROGRAM
#
# BIN_DIR holds qv742-panel, qv742-sim and bmp/; TEST_PROGRAM runs inside the
# session and does the checking. Sway refuses to run as root, so as root
# (CI) this creates an unprivileged user for the run; otherwise it runs as
# the caller. Each run has private /tmp, network and process namespaces:
# sway's XWayland picks its display number itself, the screenshot portal
# always writes the same file in /tmp, serial lock files stay apart from the
# machine's, and nothing started here can outlive the run. In the session: a D-Bus session bus, pipewire (the wlr portal
# gives up without it), sway with the pixman renderer on a headless output,
# the wlr and gtk portals (the gtk one offers the Access backend without
# which there is no Screenshot interface), xdg-desktop-portal, and wayvnc,
# whose virtual pointer the test drives. Every process is ended by its id.
set -euo pipefail

TOTAL_SECONDS=${QV742_SESSION_SECONDS:-240}   # well inside ctest's limit, so clean-up always runs
STEP_SECONDS=20     # for each part of the session to come up

SESSION_PIDS=()    # started in the session, in order
NS_PID=""          # the namespaces' first process, seen from outside
RUN_USER=""        # the user created for the run

children() { cat "/proc/$1/task/$1/children" 2>/dev/null || true; }
say() { echo "${QV742_DESKTOP:-wayland} session: $*" >&2; }
die() {
  say "FAILED: $*"
  local f
  for f in /tmp/session/log/*; do
    [ -f "$f" ] || continue
    echo "=== $(basename "$f") (last lines)" >&2
    tail -n 15 "$f" >&2
  done
  exit 1
}

# Polls until "$@" succeeds, up to STEP_SECONDS; names the step on failure.
wait_for() {
  local what=$1; shift
  local deadline=$((SECONDS + STEP_SECONDS))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || die "$what did not come up within ${STEP_SECONDS}s"
    sleep 0.05
  done
}

# ---------------------------------------------------------------- the session
# GNOME Shell 43, headless, on a virtual monitor. It wants a system bus: a
# private one serves. The test's extension (bin/gnome-extension) lets the
# test read the shell's windows through org.gnome.Shell.Eval, as a user
# sees them; the input goes through mutter's remote-desktop interface.
desktop_gnome() {
  export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/system_bus
  start system-bus dbus-daemon --session --address="$DBUS_SYSTEM_BUS_ADDRESS" --nofork --nopidfile
  wait_for "the private system bus" test -S "$XDG_RUNTIME_DIR/system_bus"
  start pipewire pipewire
  wait_for "pipewire" test -S "$XDG_RUNTIME_DIR/pipewire-0"
  start wireplumber wireplumber

  export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland XDG_SESSION_DESKTOP=gnome
  local ext=$HOME/.local/share/gnome-shell/extensions/qv742-test@qv742.local
  mkdir -p "$ext"
  cp "$dir"/bin/gnome-extension/* "$ext/"
  gsettings set org.gnome.shell enabled-extensions "['qv742-test@qv742.local']"
  gsettings set org.gnome.shell welcome-dialog-last-shown-version '999'
  # The shell announces the extension's unsafe mode in a banner that lies
  # over the panel's corner for seconds; notifications still reach the tray.
  gsettings set org.gnome.desktop.notifications show-banners false
  bash "$dir/bin/build_desktop_entry.sh" "$dir/bin/qv742-panel" "$HOME/.local/share/applications"
  start gnome-shell gnome-shell --headless --wayland --virtual-monitor 1280x800
  wait_for "gnome-shell" has_name org.gnome.Shell
  wait_for "gnome-shell's Wayland socket" compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]"
  export WAYLAND_DISPLAY
  WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]" | head -1)")
  wait_for "XWayland" compgen -G "/tmp/.X11-unix/X*"
  export DISPLAY=:$(basename "$(compgen -G "/tmp/.X11-unix/X*" | head -1)" | tr -d X)
  export XAUTHORITY
  XAUTHORITY=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -1)

  start portal-gnome /usr/libexec/xdg-desktop-portal-gnome
  wait_for "xdg-desktop-portal-gnome" has_name org.freedesktop.impl.portal.desktop.gnome
  start portal /usr/libexec/xdg-desktop-portal
  wait_for "xdg-desktop-portal" has_name org.freedesktop.portal.Desktop
}

# KWin 5.27 on a virtual output with XWayland, and Plasma's shell for the
# wallpaper, the tray and the task manager. The packaged kwin_wayland holds
# a file capability a container may not grant, so a plain copy runs. Input
# goes through KWin's fake-input protocol, which KWin grants the test's
# tool by a desktop entry of the tool's, as it grants the panel its
# screenshot interface by the panel's entry; permission checks stay on.
desktop_kde() {
  start pipewire pipewire
  wait_for "pipewire" test -S "$XDG_RUNTIME_DIR/pipewire-0"
  export XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland KDE_FULL_SESSION=true KDE_SESSION_VERSION=5
  local apps=$HOME/.local/share/applications
  mkdir -p "$apps"
  printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Test pointer' "Exec=$dir/bin/fake-pointer" \
    'NoDisplay=true' 'X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input' >"$apps/qv742-test-pointer.desktop"
  bash "$dir/bin/build_desktop_entry.sh" "$dir/bin/qv742-panel" "$apps"
  cp /usr/bin/kwin_wayland "$dir/bin/kwin_wayland"
  start kwin "$dir/bin/kwin_wayland" --virtual --width 1280 --height 800 --xwayland --socket wayland-0
  export WAYLAND_DISPLAY=wayland-0
  wait_for "kwin" has_name org.kde.KWin
  wait_for "XWayland" compgen -G "/tmp/.X11-unix/X*"
  export DISPLAY=:$(basename "$(compgen -G "/tmp/.X11-unix/X*" | head -1)" | tr -d X)
  # kded holds the tray's watcher (StatusNotifierWatcher).
  start kded kded5
  start activities /usr/lib/x86_64-linux-gnu/libexec/kactivitymanagerd
  wait_for "the activity manager" has_name org.kde.ActivityManager
  start plasmashell plasmashell --no-respawn
  wait_for "plasmashell" has_name org.kde.plasmashell
  wait_for "the tray host" has_name org.kde.StatusNotifierWatcher
  start portal-kde /usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde
  start portal /usr/libexec/xdg-desktop-portal
  wait_for "xdg-desktop-portal" has_name org.freedesktop.portal.Desktop
}

# sway with the pixman renderer on a headless output, its bar as tray host,
# the wlr and gtk portals and wayvnc, whose virtual pointer the test drives.
desktop_sway() {
  start pipewire pipewire
  wait_for "pipewire" test -S "$XDG_RUNTIME_DIR/pipewire-0"

  export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
  export XDG_CURRENT_DESKTOP=sway XDG_SESSION_TYPE=wayland
  cat >"$dir/sway.conf" <<'EOF'
output HEADLESS-1 resolution 1024x768 position 0 0 bg #204060 solid_color
xwayland enable
focus_follows_mouse no
bar {
  position bottom
  status_command while echo qv742; do sleep 600; done
  tray_output *
}
EOF
  start sway sway -c "$dir/sway.conf"
  wait_for "sway" compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock"
  export SWAYSOCK WAYLAND_DISPLAY
  SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock")
  wait_for "sway's Wayland socket" compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]"
  WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]" | head -1)")
  wait_for "sway's output" swaymsg -t get_outputs
  # XWayland comes up with sway; its display is the first socket it made.
  wait_for "XWayland" compgen -G "/tmp/.X11-unix/X*"
  export DISPLAY=:$(basename "$(compgen -G "/tmp/.X11-unix/X*" | head -1)" | tr -d X)

  start portal-wlr /usr/libexec/xdg-desktop-portal-wlr
  wait_for "xdg-desktop-portal-wlr" has_name org.freedesktop.impl.portal.desktop.wlr
  start portal-gtk /usr/libexec/xdg-desktop-portal-gtk
  wait_for "xdg-desktop-portal-gtk" has_name org.freedesktop.impl.portal.desktop.gtk
  start portal /usr/libexec/xdg-desktop-portal
  wait_for "xdg-desktop-portal" has_name org.freedesktop.portal.Desktop
  wait_for "the tray host (swaybar)" has_name org.kde.StatusNotifierWatcher

  export QV742_VNC_SOCKET=$XDG_RUNTIME_DIR/vnc
  start wayvnc wayvnc -u "$QV742_VNC_SOCKET"
  wait_for "wayvnc" test -S "$QV742_VNC_SOCKET"

}

# Runs as the unprivileged user inside the namespaces.
session() {
  local dir=/tmp/session
  cleanup_session() {  # newest first; what does not end within 5 s is killed
    local i deadline=$((SECONDS + 5))
    for ((i = ${#SESSION_PIDS[@]} - 1; i >= 0; i--)); do kill "${SESSION_PIDS[i]}" 2>/dev/null || true; done
    for i in "${SESSION_PIDS[@]}"; do
      while kill -0 "$i" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.05; done
      kill -KILL "$i" 2>/dev/null || true
      wait "$i" 2>/dev/null || true
    done
  }
  trap cleanup_session EXIT
  start() {  # start LOG PROGRAM ARGS...: runs in the background, logs to LOG
    local log=$dir/log/$1; shift
    "$@" >"$log" 2>&1 &
    SESSION_PIDS+=($!)
  }
  has_name() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
      "string:$1" | grep -q 'boolean true'
  }

  export HOME=$dir/home XDG_RUNTIME_DIR=$dir/run
  mkdir -p "$HOME" "$dir/log"
  mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
  start dbus dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile
  wait_for "the session bus" has_name org.freedesktop.DBus

  "desktop_$QV742_DESKTOP"

  say "up in ${SECONDS}s (WAYLAND_DISPLAY=$WAYLAND_DISPLAY DISPLAY=$DISPLAY)"
  export QV742_PANEL=$dir/bin/qv742-panel QV742_SIM=$dir/bin/qv742-sim
  local status=0
  (cd "$dir" && "$dir/bin/test-program") || status=$?
  # mutter names X11 windows that claim an owner it cannot find.
  if [ "$QV742_DESKTOP" = gnome ] && grep -a "Invalid WM_TRANSIENT_FOR" "$dir/log/gnome-shell"; then
    say "FAILED: mutter found a window of the panel's with an invalid owner"
    status=1
  fi
  if [ $status -ne 0 ]; then
    local f
    for f in "$dir"/log/*; do
      echo "=== $(basename "$f") (last lines)"
      tail -n 15 "$f"
    done
  fi
  return $status
}

# ------------------------------------------------------------- the namespaces
# Runs as root in fresh mount, network and process namespaces.
inside() {
  local bin=$1 program=$2 user=$3 dir=/tmp/session extra
  shift 3
  # The build may itself lie in /tmp, which the private /tmp hides: its
  # folders, and those of the test's other files, stay reachable through
  # descriptors opened before the mount.
  exec 7<"$bin" 8<"$(dirname "$program")" 9<"$(dirname "${BASH_SOURCE[0]}")"
  local -a extra_fds=() extra_names=()
  local fd
  for extra in "$@"; do
    exec {fd}<"$(dirname "$extra")"
    extra_fds+=("$fd")
    extra_names+=("$(basename "$extra")")
  done
  mount -t tmpfs -o mode=1777 tmpfs /tmp
  # Serial lock files of its own: a stale lock of another user's on the
  # same pseudo-terminal number would keep the session's panel out.
  [ ! -d /run/lock ] || mount -t tmpfs -o mode=1777 tmpfs /run/lock
  # X servers' sockets: mutter wants the folder made by root, as a system has it.
  mkdir -m 1777 /tmp/.X11-unix
  mkdir -p "$dir/bin"
  cp -r /proc/self/fd/7/qv742-panel /proc/self/fd/7/qv742-sim /proc/self/fd/7/bmp "$dir/bin/"
  cp "/proc/self/fd/8/$(basename "$program")" "$dir/bin/test-program"
  cp "/proc/self/fd/9/$(basename "${BASH_SOURCE[0]}")" "$dir/wayland_session.sh"
  local i
  for i in "${!extra_fds[@]}"; do
    cp -r "/proc/self/fd/${extra_fds[$i]}/${extra_names[$i]}" "$dir/bin/"
    fd=${extra_fds[$i]}
    exec {fd}<&-
  done
  exec 7<&- 8<&- 9<&-
  sanitizer_options "$dir"
  exec 5<&- 6<&-
  if [ -n "$user" ]; then
    chown -R "$user:" "$dir"
    exec setpriv --reuid="$user" --regid="$user" --init-groups \
      env -i PATH=/usr/bin:/bin LANG=C.UTF-8 QV742_DESKTOP="$QV742_DESKTOP" ASAN_OPTIONS="${ASAN_OPTIONS:-}" \
      LSAN_OPTIONS="${LSAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
      bash "$dir/wayland_session.sh" --session
  fi
  # Not root: a user namespace maps the caller back to its own id.
  exec unshare --user --map-user="$QV742_CALLER_UID" --map-group="$QV742_CALLER_GID" \
    bash "$dir/wayland_session.sh" --session
}

# A sanitizer build writes its reports into the build tree, which the user
# of the session may not reach: they go into the session and are copied back.
sanitizer_options() {
  local dir=$1 var value path
  for var in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
    value=${!var:-}
    [ -n "$value" ] || continue
    if path=$(grep -o 'log_path=[^:]*' <<<"$value"); then
      path=${path#log_path=}
      mkdir -p "$dir/reports"
      value=${value//log_path=$path/log_path=$dir/reports/$(basename "$path")}
    fi
    # Mesa's EGL driver, loaded by Qt's Wayland platform, is unloaded before
    # leaks are checked: only a full unwind names it for the suppressions.
    [ "$var" != ASAN_OPTIONS ] || value=$value:fast_unwind_on_malloc=0
    # Not print_suppressions=: the option itself starts the value or follows a colon.
    if path=$(grep -oE '(^|:)suppressions=[^:]*' <<<"$value"); then
      path=${path#:}
      path=${path#suppressions=}
      cp "/proc/self/fd/6/$(basename "$path")" "$dir/$(basename "$path")"
      value=${value//suppressions=$path/suppressions=$dir/$(basename "$path")}
    fi
    export "$var=$value"
  done
}

# The build, and with it the sanitizers' folders, may lie in /tmp, which the
# private /tmp hides: they stay reachable through descriptors 5 (reports)
# and 6 (suppressions), opened before the mount.
open_sanitizer_folders() {
  local all="${ASAN_OPTIONS:-}:${UBSAN_OPTIONS:-}:${LSAN_OPTIONS:-}" path
  path=$(grep -o 'log_path=[^:]*' <<<"$all" | head -1) || true
  if [ -n "$path" ] && [ -d "$(dirname "${path#log_path=}")" ]; then exec 5<"$(dirname "${path#log_path=}")"; fi
  path=$(grep -oE '(^|:)suppressions=[^:]*' <<<"$all" | head -1) || true
  path=${path#:}
  if [ -n "$path" ] && [ -d "$(dirname "${path#suppressions=}")" ]; then exec 6<"$(dirname "${path#suppressions=}")"; fi
  return 0
}

copy_reports_back() {
  local dir=/tmp/session
  [ -e /proc/self/fd/5 ] || return 0
  compgen -G "$dir/reports/*" >/dev/null || return 0
  cp "$dir"/reports/* /proc/self/fd/5/
}

# ------------------------------------------------------------------- outside
outside() {
  export QV742_DESKTOP=sway
  if [ "${1:-}" = --desktop ]; then QV742_DESKTOP=$2; shift 2; fi
  [ $# -ge 2 ] || { echo "usage: $0 [--desktop sway|gnome|kde] BIN_DIR TEST_PROGRAM [FILE...]" >&2; exit 2; }
  local bin program tool extra
  local -a extras=() tools=(Xwayland pipewire dbus-daemon dbus-send unshare setpriv /usr/libexec/xdg-desktop-portal)
  bin=$(cd "$1" && pwd)
  program=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
  shift 2
  for extra in "$@"; do extras+=("$(cd "$(dirname "$extra")" && pwd)/$(basename "$extra")"); done
  case $QV742_DESKTOP in
    sway) tools+=(sway swaymsg swaybar grim wayvnc /usr/libexec/xdg-desktop-portal-wlr
                  /usr/libexec/xdg-desktop-portal-gtk) ;;
    gnome) tools+=(gnome-shell wireplumber gsettings /usr/libexec/xdg-desktop-portal-gnome) ;;
    kde) tools+=(kwin_wayland plasmashell spectacle /usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde) ;;
    *) die "no such desktop: $QV742_DESKTOP (sway, gnome or kde)" ;;
  esac
  for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null || die "$tool is missing (scripts/test installs it with the other packages)"
  done
  compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null \
    || die "Qt's Wayland platform (qt6-wayland) is missing (scripts/test installs it)"

  cleanup() {
    local status=$? u i
    if [ -n "$NS_PID" ]; then
      # The namespaces' first process is the child of unshare, itself the
      # child of timeout; killing it ends every process in the namespace.
      for u in $(children "$NS_PID"); do
        for i in $(children "$u"); do kill -KILL "$i" 2>/dev/null || true; done
      done
      kill "$NS_PID" 2>/dev/null || true
      wait "$NS_PID" 2>/dev/null || true
    fi
    [ -z "$RUN_USER" ] || userdel "$RUN_USER" 2>/dev/null || say "could not remove the user $RUN_USER"
    exit $status
  }
  trap cleanup EXIT
  trap 'exit 130' INT TERM

  local -a ns_options=(-m -n -p --fork --kill-child --mount-proc --propagation private)
  if [ "$(id -u)" -eq 0 ]; then
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin --user-group \
      "qv742-wl-$$" || die "cannot create the session's user qv742-wl-$$"
    RUN_USER=qv742-wl-$$
  else
    export QV742_CALLER_UID QV742_CALLER_GID
    QV742_CALLER_UID=$(id -u) QV742_CALLER_GID=$(id -g)
    ns_options=(-r "${ns_options[@]}")
  fi
  timeout --kill-after=10 "$TOTAL_SECONDS" unshare "${ns_options[@]}" \
    bash "${BASH_SOURCE[0]}" --inside "$bin" "$program" "$RUN_USER" "${extras[@]}" &
  NS_PID=$!
  local status=0
  wait "$NS_PID" || status=$?
  NS_PID=""
  [ $status -ne 124 ] || die "the run took longer than ${TOTAL_SECONDS}s"
  return $status
}

case "${1:-}" in
  --session) session ;;
  --inside)
    shift
    open_sanitizer_folders
    trap copy_reports_back EXIT
    status=0
    (inside "$@") || status=$?
    exit $status
    ;;
  *) outside "$@" ;;
esac
