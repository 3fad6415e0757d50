// Where the panel puts things on its 306 x 118 background. The backgrounds are
// painted around these spots, the previews compose them, and the test checks
// that all of them lie inside the window outline.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

#include "inventory.h"

namespace artwork::layout {

constexpr int kCornerRadius = 10;

// The window outline: a rounded rectangle of the full panel size. A pixel
// belongs to the window when its centre lies inside.
inline bool insideOutline(int x, int y)
{
    if (x < 0 || y < 0 || x >= kPanelWidth || y >= kPanelHeight)
        return false;
    const double px = x + 0.5, py = y + 0.5;
    const double r = kCornerRadius;
    const double cx = px < r ? r : (px > kPanelWidth - r ? kPanelWidth - r : px);
    const double cy = py < r ? r : (py > kPanelHeight - r ? kPanelHeight - r : py);
    const double dx = px - cx, dy = py - cy;
    return dx * dx + dy * dy <= r * r;
}

// Text the program draws on top with transparent labels.
inline QRect titleText() { return {71, 2, 103, 13}; }
inline QRect messageText() { return {181, 3, 106, 14}; }
// Light plates painted behind those labels.
inline QRect titlePlate() { return QRect(QPoint(68, 1), QPoint(176, 17)); }
inline QRect messagePlate() { return QRect(QPoint(179, 1), QPoint(290, 18)); }

inline QRect connectIndicator() { return {15, 24, 31, 19}; }

struct Spot {
    const char *stem;   // picture stem shown there (first of its alternatives)
    int x, y, w, h;
    QRect rect() const { return {x, y, w, h}; }
};

inline std::vector<Spot> rightColumn()
{
    return {{"close", 276, 28, 22, 19}, {"min", 276, 47, 22, 19},
            {"sys_tray", 276, 66, 22, 19}, {"help", 276, 85, 22, 19}};
}

inline std::vector<Spot> mainPage()
{
    return {{"power_on", 33, 43, 39, 27},     {"sys_reset", 73, 43, 39, 27},
            {"zoom", 113, 43, 39, 27},        {"mag", 153, 43, 39, 27},
            {"scan_under", 192, 43, 39, 27},  {"option", 231, 43, 39, 27},
            {"aspect_full", 33, 70, 39, 27},  {"move", 73, 70, 39, 27},
            {"size", 113, 70, 39, 27},        {"out_cv", 153, 70, 39, 27},
            {"freeze_off", 192, 70, 39, 27},  {"v_set", 231, 70, 39, 27}};
}

inline std::vector<Spot> comPorts()
{
    return {{"com1_on", 227, 97, 22, 15}, {"com2_off", 249, 97, 22, 15}};
}

inline std::vector<Spot> arrowPad()
{
    return {{"up", 48, 27, 26, 25}, {"left", 22, 52, 26, 25}, {"default", 48, 52, 26, 25},
            {"right", 74, 52, 26, 25}, {"down", 48, 77, 26, 25}};
}

// Tabs and the sub-page replacements for option / v_set.
inline std::vector<Spot> subPageButtons()
{
    return {{"2move", 192, 43, 39, 27}, {"2size", 192, 70, 39, 27},
            {"reset", 231, 43, 39, 27}, {"return", 231, 70, 39, 27}};
}

constexpr int kZoomLeft = 115, kZoomTop = 24, kZoomCellW = 33, kZoomCellH = 24;

inline QRect zoomCell(int n) // n = 1..9, row by row from the top left
{
    const int i = n - 1;
    return {kZoomLeft + (i % 3) * kZoomCellW, kZoomTop + (i / 3) * kZoomCellH, kZoomCellW,
            kZoomCellH};
}

// Areas where the program writes sub-page text; the backgrounds stay calm there.
inline QRect subPageText() { return QRect(QPoint(17, 34), QPoint(230, 100)); }

} // namespace artwork::layout
