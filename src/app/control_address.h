#pragma once
// Where a user's panel listens for its clients: $XDG_RUNTIME_DIR, which only
// the user can enter; without one, a private folder of the user in the
// temporary folder. The panel and its clients find it by the same rule.

#include <QString>

// The socket's path (a pipe name on Windows). With `create` (the panel) the
// fallback folder is made when missing. Empty, with a reason in `error`,
// when no safe place is found.
QString control_socket_path(bool create, QString& error);
