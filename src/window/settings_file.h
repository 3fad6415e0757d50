#pragma once
// The settings file QVR_742.ini: one line of five comma-separated values,
// skin, port, window left and top (twips), on top: "1,1,4320,3000,#TRUE#".

#include <QByteArray>
#include <QString>
#include <optional>

struct StoredSettings {
    std::optional<int> skin;       // 1 Wood; any other number Flower
    std::optional<int> com_port;
    std::optional<qint32> left;    // twips
    std::optional<qint32> top;     // twips
    std::optional<bool> on_top;

    // Every field read: a complete file.
    bool complete() const { return skin && com_port && left && top && on_top; }
};

// Reads the fields in order; a comma or the end of a line ends each. A field
// that is missing or cannot be read, and every field after it, stays empty.
StoredSettings parse_settings(const QByteArray& text);

// The record line, ended by CR LF.
QByteArray format_settings(int skin, int com_port, qint32 left, qint32 top, bool on_top);

// Reads the file; all fields empty when it is missing or cannot be read.
// Only a regular file is read, never more than a few KiB; what else was
// found (a named pipe, a device, a folder, a huge file, no permission) is
// said in `problem`, which stays empty for a missing file.
StoredSettings read_settings_file(const QString& path, QString* problem = nullptr);

// What the user is told when the file at `path` could not be read.
QString settings_read_note(const QString& path, const QString& problem);

// Writes a new file and then replaces the old one, so a failure half-way
// never loses the settings already there. Never writes through or over
// anything but a regular file. False on failure, with what is wrong and what
// to do about it.
bool write_settings_file(const QString& path, const QByteArray& record, QString& error);

// Why a settings file at `path` could not be written, in words the user can
// act on: the folder that cannot be written or created, or what is in the
// file's place. `platform_error` when nothing better is known.
QString save_failure(const QString& path, const QString& platform_error);

// The settings file in the user's configuration folder.
QString user_settings_path();

// Where the settings are read, and where they are written.
struct SettingsPaths {
    QString read;
    QString write;
};

// Beside the program when they may be written there, else `user_path`. A
// read-only file beside the program is kept as it is, yet gives the
// starting values until the user has a file of their own.
SettingsPaths settings_location(const QString& program_dir, const QString& user_path = user_settings_path());
