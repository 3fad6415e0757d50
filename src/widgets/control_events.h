#pragma once
// Events a skinned control sends to itself, for whoever watches it through
// an event filter (the panel's keyboard room). The controls know nothing of
// their watchers.

#include <QEvent>

namespace control_event {

// Hidden or disabled while it had the keyboard focus. A watcher may move the
// focus elsewhere; if it does not, the toolkit moves it to the next control.
QEvent::Type lost_place();

// A keyboard or assistive activation of the control has run.
QEvent::Type activated();

// Sends `type` to `control`; true when a watcher accepted it.
bool announce(QObject* control, QEvent::Type type);

}  // namespace control_event
