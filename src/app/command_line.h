#pragma once
// The panel's command line. --com1 and --com2 say which device stands
// behind each port number for this run, ahead of the one chosen in the
// panel; everything else comes from the settings file.

#include <QString>
#include <QStringList>

struct PanelOptions {
    QString com1;  // empty: not given
    QString com2;
    bool com1_given = false;  // on the command line, not the default
    bool com2_given = false;
    bool show_help = false;
    bool show_version = false;
    QString error;   // not empty: the command line was wrong
    QString help_text;
};

// `arguments` as QCoreApplication::arguments() gives them, after Qt has
// taken its own options out.
PanelOptions parse_panel_options(const QStringList& arguments);
