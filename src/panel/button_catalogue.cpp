#include "panel/button_catalogue.h"

#include "core/shared_state.h"

#include <array>

namespace catalogue {

namespace {

struct Entry {
    const char* stem;   // fixed stem; state-dependent ones are chosen in stem()
    int left, top;      // design position, twips
    bool shown;
};

// Indices 4 and 5 are holes in the numbering.
constexpr std::array<Entry, buttons::count> kTable = {{
    {"sys_tray", 4140, 990, true},     // 0
    {"min", 4140, 705, true},          // 1
    {"close", 4140, 420, true},        // 2
    {"help", 4140, 1275, true},        // 3
    {nullptr, 0, 0, false},            // 4
    {nullptr, 0, 0, false},            // 5
    {"sys_reset", 1095, 645, true},    // 6
    {"zoom", 1695, 645, true},         // 7
    {"mag", 2295, 645, true},          // 8
    {"", 2880, 645, true},             // 9 scan
    {"option", 3465, 645, true},       // 10
    {"", 1095, 1050, true},            // 11 move / pan
    {"", 1695, 1050, true},            // 12 size / expand
    {"", 2295, 1050, true},            // 13 output
    {"", 2880, 1050, true},            // 14 freeze
    {"v_set", 3465, 1050, true},       // 15
    {"return", 3465, 1050, false},     // 16
    {"up", 720, 405, false},           // 17
    {"left", 330, 780, false},         // 18
    {"down", 720, 1155, false},        // 19
    {"right", 1110, 780, false},       // 20
    {"default", 720, 780, false},      // 21
    {"refresh", 4710, 1500, false},    // 22
    {"", 2880, 645, false},            // 23 tab move / pan
    {"", 2880, 1050, false},           // 24 tab size / expand
    {"reset", 3465, 645, false},       // 25
    {"", 495, 645, true},              // 26 power
    {"", 495, 1050, true},             // 27 aspect
    // The COM pair sits below the second row and side by side, clear of
    // both: a button never hides part of another.
    {"", 3405, 1455, true},            // 28 COM1
    {"", 3735, 1455, true},            // 29 COM2
    {"", 1725, 360, false},            // 30 zoom area 1; the grid follows it
    {"", 0, 0, false}, {"", 0, 0, false}, {"", 0, 0, false}, {"", 0, 0, false},
    {"", 0, 0, false}, {"", 0, 0, false}, {"", 0, 0, false}, {"", 0, 0, false},
}};

}  // namespace

bool is_button(int ind)
{
    return ind >= 0 && ind < buttons::count && ind != 4 && ind != 5;
}

QString stem(int ind, const SharedState& st)
{
    if (!is_button(ind))
        return {};
    const bool overscan = st.scan_mode == 1;
    switch (ind) {
    case buttons::scan: return st.scan_mode != 0 ? "scan_over" : "scan_under";
    case buttons::position: return overscan ? "pan" : "move";
    case buttons::size: return overscan ? "expand" : "size";
    case buttons::output: return st.output_yuv != 0 ? "out_yuv" : "out_cv";
    case buttons::freeze: return st.freeze_state == 1 ? "freeze_on" : "freeze_off";
    case buttons::position_tab: return overscan ? "2pan" : "2move";
    case buttons::size_tab: return overscan ? "2expand" : "2size";
    case buttons::power: return st.power_state == 1 ? "power_on" : "power_off";
    case buttons::aspect:
        return st.aspect_mode == 0 ? "aspect_full"
            : st.aspect_mode == 1  ? "aspect_panscan"
                                   : "aspect_letterbox";
    case buttons::com1: return st.com_port == 1 && st.port_open ? "com1_on" : "com1_off";
    case buttons::com2: return st.com_port == 2 && st.port_open ? "com2_on" : "com2_off";
    default: break;
    }
    if (buttons::is_zoom_area(ind)) {
        const int area = ind - buttons::first_zoom_area + 1;
        return QStringLiteral("zoom%1_%2").arg(area).arg(st.zoom_area == area ? "on" : "off");
    }
    return QString::fromLatin1(kTable[ind].stem);
}

QString picture_name(int ind, bool on, const SharedState& st)
{
    if (!is_button(ind))
        return {};
    const int state = on ? 1 : 0;
    if (ind == buttons::refresh)
        return QStringLiteral("refresh_%1").arg(state);
    return skin_picture(st.panel_skin, stem(ind, st), state);
}

QString skin_picture(const QString& skin, const QString& stem, int state)
{
    return QStringLiteral("%1_%2_%3").arg(skin, stem).arg(state);
}

QString zoom_picture(const QString& skin, int area, bool selected, int state)
{
    return QStringLiteral("%1_zoom%2_%3_%4").arg(skin).arg(area).arg(selected ? "on" : "off").arg(state);
}

QString connect_picture(const QString& skin, bool on)
{
    return QStringLiteral("%1_connect_%2_0").arg(skin, on ? "on" : "off");
}

QPoint design_position(int ind)
{
    if (!is_button(ind))
        return {};
    return {kTable[ind].left, kTable[ind].top};
}

bool shown_at_start(int ind)
{
    return is_button(ind) && kTable[ind].shown;
}

QString tooltip(int ind)
{
    return ind == buttons::refresh ? QStringLiteral("Refresh") : QString();
}

}  // namespace catalogue
