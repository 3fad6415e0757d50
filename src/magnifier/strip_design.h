#pragma once
// The six buttons of the magnifier's strip as drawn: tooltip, picture and
// size, and the name assistive technology reads. The first four are toggles
// in pairs (zoom 1.5/2.0, small/big); the last two only act.

#include <QSize>
#include <QString>

struct StripButtonDesign {
    const char* tooltip;
    const char* picture;   // name without the _0/_1 suffix
    QSize size;            // pixels, the picture's size
    const char* name;      // what assistive technology calls it
};

inline const StripButtonDesign kStripButtons[6] = {
    {"x 1.5", "m_15", {28, 17}, "Zoom 1.5"},
    {"x 2.0", "m_20", {28, 17}, "Zoom 2.0"},
    {"small", "m_small", {28, 17}, "Small view"},
    {"big", "m_big", {28, 17}, "Big view"},
    {"refresh", "m_refresh", {29, 17}, "Refresh"},
    {"close", "m_close", {19, 18}, "Close magnifier"},
};

// Button `index`'s picture: chosen or highlighted (`on`), or plain.
inline QString strip_picture(int index, bool on)
{
    return QString::fromLatin1(kStripButtons[index].picture) + (on ? QLatin1String("_1") : QLatin1String("_0"));
}
