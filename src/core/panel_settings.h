#pragma once
// The panel's own settings, kept in the settings file between runs.

#include <QString>

struct PanelSettings {
    QString panel_skin = QStringLiteral("1");  // "1" wood, "2" flower
    int com_port = 1;                          // 1 or 2
    bool win_on_top = true;
};
