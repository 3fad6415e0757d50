#pragma once
// While a panel of this user drives the box, it holds the serial port: the
// commands then go through the panel, which runs them between its own
// exchanges. Output and exit status are those of talking to the box directly.

#include <QStringList>
#include <optional>

// Runs `commands` (and then listens for `listen_secs`, when `listen`)
// through this user's panel, if it is using `device`. The exit status, or
// nothing when no panel uses that device: the caller opens the port itself.
std::optional<int> run_through_panel(const QString& device, const QStringList& commands, bool listen,
                                     double listen_secs);
