#pragma once
// The tools' output. A write that fails (a full disk, a reader that has
// gone) is an error with a non-zero exit, never a silent success.

#include <QByteArray>

// Prints `text` on standard output and flushes it. 0 when all of it was
// written, else the system's error number: the caller stops there.
int print_out(const QByteArray& text);

// Says on standard error that `program`'s output could not be written, and
// gives the exit status for it (2).
int output_failed(const char* program, int error);
