#!/usr/bin/python3
"""End to end with a screen reader's client.

The panel program runs on an X server of its own (Xvfb) with a private
runtime folder and session bus and the accessibility bus launched on it, as
a desktop session has them, against qv742-sim. A pyatspi client (Debian's
python3-pyatspi, so run with /usr/bin/python3) finds the application and its
window, checks that every showing button is named, focusable and has an
action, switches the box off through Power's action, then tabs to Power with
keys from xdotool and switches it on with Space.

The bus daemons and the bus launcher lead sessions of their own; the
accessibility bus and at-spi2-registryd, which outlive the launcher, are
found by their session and ended by id.

    tst_accessibility_e2e.py PANEL SIM
"""

import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


def read_line(stream, seconds, what):
    """A line from a child's pipe, waiting no longer than `seconds`."""
    line = b""
    deadline = time.monotonic() + seconds
    while not line.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([stream], [], [], left)[0]:
            raise AssertionError("timed out waiting for " + what)
        chunk = os.read(stream.fileno() if hasattr(stream, "fileno") else stream, 1)
        if not chunk:
            raise AssertionError(what + ": the program ended")
        line += chunk
    return line.decode().strip()


def session_of(pid):
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return int(stat.read().rsplit(")", 1)[1].split()[3])
    except (OSError, IndexError, ValueError):
        return -1


class Processes:
    """Everything the test starts; each leads a session of its own."""

    def __init__(self):
        self.leaders = []

    def start(self, args, **kwargs):
        process = subprocess.Popen(args, start_new_session=True, **kwargs)
        self.leaders.append(process)
        return process

    def stop(self):
        for leader in reversed(self.leaders):
            members = [int(p) for p in os.listdir("/proc") if p.isdigit() and session_of(int(p)) == leader.pid]
            for pid in members:
                os.kill(pid, signal.SIGTERM)
            try:
                leader.wait(10)
            except subprocess.TimeoutExpired:
                pass
            for pid in members:
                try:
                    wait_for(lambda: session_of(pid) != leader.pid, 5, "process %d to end" % pid)
                except AssertionError:
                    os.kill(pid, signal.SIGKILL)
            if leader.poll() is None:
                leader.kill()
                leader.wait()
        self.leaders = []


def start_xvfb(processes):
    read_end, write_end = os.pipe()
    processes.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                    pass_fds=[write_end])
    os.close(write_end)
    try:
        return ":" + read_line(read_end, 30, "Xvfb's display number")
    finally:
        os.close(read_end)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=15).stdout.strip()


def run(panel, sim_program, processes, work):
    env = dict(os.environ)
    env["DISPLAY"] = start_xvfb(processes)
    env["XDG_RUNTIME_DIR"] = os.path.join(work, "runtime")
    os.mkdir(env["XDG_RUNTIME_DIR"], 0o700)
    # The panel's one-per-user lock lies in the temporary folder: a folder
    # of the test's own keeps it apart from any other panel of this user.
    env["TMPDIR"] = os.path.join(work, "tmp")
    os.mkdir(env["TMPDIR"], 0o700)
    bus = processes.start(["dbus-daemon", "--session", "--nofork", "--print-address=1",
                           "--address=unix:path=" + os.path.join(env["XDG_RUNTIME_DIR"], "bus")],
                          env=env, stdout=subprocess.PIPE)
    env["DBUS_SESSION_BUS_ADDRESS"] = read_line(bus.stdout, 20, "the session bus's address")
    processes.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env)
    wait_for(lambda: "true" in subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
         "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"], env=env, capture_output=True,
        text=True).stdout, 20, "the accessibility bus")

    # The box, and what it receives.
    link = os.path.join(work, "com1")
    sim = processes.start([sim_program, "--link", link], stdout=subprocess.PIPE, text=True)
    received = []
    threading.Thread(target=lambda: [received.append(line.split()[1]) for line in sim.stdout
                                     if line.startswith("recv ")], daemon=True).start()
    wait_for(lambda: os.path.exists(link), 10, "the simulator's port")

    # The panel, in a folder of its own with its pictures and settings.
    folder = os.path.join(work, "panel")
    shutil.copytree(os.path.join(os.path.dirname(panel), "bmp"), os.path.join(folder, "bmp"))
    shutil.copy(panel, folder)
    with open(os.path.join(folder, "QVR_742.ini"), "w", newline="") as settings:
        settings.write("1,1,1500,1500,#FALSE#\r\n")
    panel_env = dict(env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    program = processes.start([os.path.join(folder, os.path.basename(panel)), "--com1", link], env=panel_env)
    startup = ["VER999", "PWR999", "ASP999", "SCN999", "FMT999", "FRZ999", "NPO999", "PAT999", "ZOM999"]
    wait_for(lambda: received == startup, 20, "the start-up exchange")

    # The client sees the session's buses.
    os.environ.update(env)
    import pyatspi

    def panel_window():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "qv742-panel":
                app.clearCache()
                for top in app:
                    if top is not None and top.name == "Scan Converter" and \
                            top.getState().contains(pyatspi.STATE_SHOWING):
                        return app, top
        return None

    app, window = wait_for(panel_window, 30, "qv742-panel's window 'Scan Converter'")

    def descendants(node):
        for child in node:
            if child is not None:
                yield child
                yield from descendants(child)

    buttons = {}
    for node in descendants(window):
        state = node.getState()
        if node.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON) and \
                state.contains(pyatspi.STATE_SHOWING):
            assert node.name and node.name not in buttons, "unnamed or twice named: %r" % node.name
            assert state.contains(pyatspi.STATE_FOCUSABLE), node.name + " is not focusable"
            assert node.queryAction().nActions > 0, node.name + " has no action"
            buttons[node.name] = node
    assert len(buttons) == 18, "showing buttons: %s" % sorted(buttons)
    assert buttons["Power"].getState().contains(pyatspi.STATE_CHECKED), "Power is not shown on"

    # Power through its action: the box is switched off.
    buttons["Power"].queryAction().doAction(0)
    wait_for(lambda: received == startup + ["PWR000"], 20, "PWR000 at the box")

    # And from the keyboard: Tab to Power, then Space.
    def focused():
        app.clearCache()
        return next((n.name for n in descendants(app) if n.getState().contains(pyatspi.STATE_FOCUSED)), "")

    panel_id = wait_for(lambda: xdotool("search", "--onlyvisible", "--name", "^Scan Converter$"), 20,
                        "the panel's X window").split()[0]
    xdotool("windowfocus", "--sync", panel_id)
    xdotool("key", "Tab")
    for _ in range(20):
        if focused() == "Power":
            break
        xdotool("key", "Tab")
    assert focused() == "Power", "Tab does not reach Power: %r" % focused()
    xdotool("key", "space")
    wait_for(lambda: received[len(startup):len(startup) + 2] == ["PWR000", "PWR001"], 20, "PWR001 at the box")

    program.terminate()
    assert program.wait(20) == 0, "the panel did not end cleanly"


def main():
    processes = Processes()
    # Stopped from outside (a test timeout): still end what was started.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAIL: stopped from outside"))
    try:
        with tempfile.TemporaryDirectory() as work:
            run(sys.argv[1], sys.argv[2], processes, work)
            processes.stop()
    except AssertionError as failure:
        print("FAIL:", failure)
        return 1
    finally:
        processes.stop()
    print("PASS: a session with a screen reader")
    return 0


if __name__ == "__main__":
    sys.exit(main())
