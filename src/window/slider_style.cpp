#include "window/slider_style.h"

QString slider_style_sheet(const QString& skin)
{
    const bool wood = skin == QLatin1String("1");
    const QString groove = wood ? "#7a4b22" : "#3a2547";
    const QString handle = wood ? "#e0b35a" : "#e58fc0";
    const QString edge = wood ? "#4a2a10" : "#1e1026";
    const QString button = wood ? "#b07a3e" : "#6a4a80";
    const QString arrow = wood ? "#2a1606" : "#f4e8ff";
    return QStringLiteral(
               "QScrollBar:horizontal { background: %1; border: 1px solid %3; height: 12px; margin: 0 12px; }"
               "QScrollBar::handle:horizontal { background: %2; border: 1px solid %3; border-radius: 3px; min-width: 10px; }"
               "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal {"
               "  background: %4; border: 1px solid %3; width: 11px; subcontrol-origin: margin; }"
               "QScrollBar::add-line:horizontal { subcontrol-position: right; }"
               "QScrollBar::sub-line:horizontal { subcontrol-position: left; }"
               "QScrollBar::left-arrow:horizontal, QScrollBar::right-arrow:horizontal {"
               "  width: 3px; height: 3px; background: %5; }"
               "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: none; }")
        .arg(groove, handle, edge, button, arrow);
}
