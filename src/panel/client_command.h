#pragma once
// A command from a client of the panel (a script through qv742-ctl), run as
// one of the panel's own routines: sent under the same time limits, followed
// by its ready wait, and its reply taken in as the panel takes a message of
// the box's own, so the buttons show what the script changed.

#include <QString>

struct Panel;

struct ClientAnswer {
    QString reply;  // the box's six characters, or "NONE"
    QString ready;  // after a command that has a ready message: that message
                    // or "NONE"; empty otherwise
};

// Runs only while no other routine of the panel runs (the caller's queue
// sees to that).
ClientAnswer run_client_command(Panel& p, const QString& command);
