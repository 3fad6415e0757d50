#pragma once
// What the panel's control socket needs of the platform: a folder only this
// user can enter, a socket only this user can use, and who is at the other
// end of a connection.

#include <QLocalServer>
#include <QString>

// Names this user in the names of per-user files ("1000" on Unix).
QString user_tag();

// Checks that `path` is a folder only this user may enter: not a link, this
// user's, closed to everybody else. With `create`, makes it first when it is
// missing. False with a reason otherwise.
bool private_folder(const QString& path, bool create, QString& error);

// Options for a server only this user may reach. On Unix the socket file is
// restricted after listening instead (restrict_to_user), because Qt's own
// option would move it over a socket another panel still answers on.
QLocalServer::SocketOptions private_socket_options();
// Makes a listening socket file readable and writable by this user only.
bool restrict_to_user(const QString& socket_path);

// True when the process at the other end of the connected local socket
// runs as this user.
bool peer_is_this_user(qintptr socket_descriptor);
