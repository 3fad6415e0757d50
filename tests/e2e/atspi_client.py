#!/usr/bin/python3
# A screen reader's view of the panel, for the end-to-end test: reads one
# command a line on standard input and answers one line (or a block ending
# in "end") on standard output. Run with Debian's /usr/bin/python3, which
# has python3-pyatspi.
#
#   find APP WINDOW   wait (bounded) until APP shows a window named WINDOW
#   controls          every showing button, radio button and slider of the
#                     window: role, name, focusable, number of actions, checked
#   do NAME           the first action of the showing control named NAME
#   focused           the name of the focused element of the application
#   quit

import sys
import time

import pyatspi

ROLES = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_RADIO_BUTTON,
         pyatspi.ROLE_SLIDER, pyatspi.ROLE_CHECK_BOX}

app = None
window = None


def say(text):
    sys.stdout.write(text + "\n")
    sys.stdout.flush()


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(app_name, window_name, seconds=30):
    global app, window
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for candidate in pyatspi.Registry.getDesktop(0):
            if candidate is None or candidate.name != app_name:
                continue
            candidate.clearCache()
            for top in candidate:
                if top is not None and top.name == window_name and \
                        top.getState().contains(pyatspi.STATE_SHOWING):
                    app, window = candidate, top
                    return "ok"
        time.sleep(0.1)
    return "not found"


def showing_controls():
    window.clearCache()
    for node in descendants(window):
        state = node.getState()
        if node.getRole() in ROLES and state.contains(pyatspi.STATE_SHOWING):
            yield node, state


def controls():
    for node, state in showing_controls():
        try:
            actions = node.queryAction().nActions
        except NotImplementedError:
            actions = 0
        say("\t".join([node.getRoleName(), node.name, str(state.contains(pyatspi.STATE_FOCUSABLE)),
                       str(actions), str(state.contains(pyatspi.STATE_CHECKED))]))
    say("end")


def do(name):
    for node, _ in showing_controls():
        if node.name == name:
            node.queryAction().doAction(0)
            return "ok"
    return "no control named " + name


def focused():
    app.clearCache()
    for node in [app] + list(descendants(app)):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node.name
    return ""


for line in sys.stdin:
    command, _, rest = line.rstrip("\n").partition(" ")
    try:
        if command == "find":
            app_name, _, window_name = rest.partition(" ")
            say(find(app_name, window_name))
        elif command == "controls":
            controls()
        elif command == "do":
            say(do(rest))
        elif command == "focused":
            say(focused())
        elif command == "quit":
            break
        else:
            say("unknown command " + command)
    except Exception as error:  # the test shows it and fails
        say("error " + repr(error))
