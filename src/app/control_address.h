#pragma once
// Where a user's panel keeps its single-instance lock and listens for its
// clients: a folder that only this user can enter, so nothing another user
// creates can stop the panel, its second start or its scripts.
//
// $XDG_RUNTIME_DIR when it is such a folder; else qv742-<uid> in the
// temporary folder, made and checked; when another user has taken that
// name, a private folder in the user's cache folder. The panel and its
// clients find it by the same rule.

#include <QString>

// The folder. With `create` (the panel) it is made when missing. Empty,
// with a reason in `error`, when no private place is found.
QString panel_folder(bool create, QString& error);

// The control socket's path in that folder (a pipe name on Windows).
QString control_socket_path(bool create, QString& error);

// The single-instance lock's path in that folder, which is made.
QString panel_lock_path(QString& error);
