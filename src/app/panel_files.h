#pragma once
// Where the panel finds its bitmaps and keeps its settings file.

#include <QString>

struct PanelFiles {
    QString bmp_dir;
    QString settings_path;       // written at shut-down
    QString settings_read_path;  // read at start-up; the same file unless that one is read-only
    bool beside_program = false; // a build or a portable copy, not an installed program
};

// A build or a portable copy has its bmp folder beside the program and keeps
// its settings there too when it may write there. An installed program finds
// its bitmaps in its data folder (share/qv742/bmp beside its bin folder, or
// in the XDG data folders) and keeps its settings in the user's
// configuration folder, even when run by root.
PanelFiles locate_panel_files(const QString& program_dir);
