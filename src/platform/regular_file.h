#pragma once
// The panel's own small files (settings, chosen devices) are read only when
// they are regular files: a named pipe would hang the start in open(), a
// link to /dev/zero would never end. Nothing here blocks or reads without
// bound, whatever the file claims to be.

#include <QByteArray>
#include <QString>

struct FileRead {
    enum class Status { Read, Missing, Refused };
    Status status = Status::Missing;
    QByteArray bytes;  // Read: the whole file
    QString problem;   // Refused: why, for the user ("it is a named pipe, not a file")
};

// Reads the file at `path` (links followed) if it is a regular file of at
// most `max_bytes`. Opened without blocking, and checked again once open.
FileRead read_regular_file(const QString& path, qint64 max_bytes);

// What `path` is when it is there but no regular file (links followed):
// "a folder", "a named pipe", "a character device"... Such a path must not
// be written or replaced. Empty when it is missing or a regular file.
QString special_file_kind(const QString& path);
