#include "panel/accessible_names.h"

#include "core/shared_state.h"
#include "panel/captions.h"

namespace access {

QString button_name(int ind, const SharedState& st)
{
    const bool overscan = st.scan_mode == 1;
    switch (ind) {
    case 0: return QStringLiteral("Send to tray");
    case 1: return QStringLiteral("Minimize");
    case 2: return QStringLiteral("Close");
    case 3: return QStringLiteral("About");
    case 6: return QStringLiteral("System reset");
    case 7: return QStringLiteral("Zoom");
    case 8: return QStringLiteral("Magnifier");
    case 9: return QStringLiteral("Overscan");
    case 10: return QStringLiteral("Options");
    case 11:
    case 23: return overscan ? QStringLiteral("Pan picture") : QStringLiteral("Move picture");
    case 12:
    case 24: return overscan ? QStringLiteral("Expand picture") : QStringLiteral("Size picture");
    case 13: return QStringLiteral("YPbPr output");
    case 14: return QStringLiteral("Freeze");
    case 15: return QStringLiteral("Video settings");
    case 16: return QStringLiteral("Back to main panel");
    case 17: return QStringLiteral("Up");
    case 18: return QStringLiteral("Left");
    case 19: return QStringLiteral("Down");
    case 20: return QStringLiteral("Right");
    case 21: return QStringLiteral("Default");
    case 22: return QStringLiteral("Refresh");
    case 25: return QStringLiteral("Reset video settings");
    case 26: return QStringLiteral("Power");
    case 27: return QStringLiteral("Aspect ratio");
    case 28: return QStringLiteral("COM1");
    case 29: return QStringLiteral("COM2");
    default: break;
    }
    if (ind >= 30 && ind <= 38)
        return QStringLiteral("Zoom area %1").arg(ind - 29);
    return {};
}

// The same tests the pictures use, so the state heard is the state shown.
std::optional<bool> button_checked(int ind, const SharedState& st)
{
    switch (ind) {
    case 9: return st.scan_mode != 0;
    case 13: return st.output_yuv != 0;
    case 14: return st.freeze_state == 1;
    case 23: return st.current_page == 11;
    case 24: return st.current_page == 12;
    case 26: return st.power_state == 1;
    case 28: return st.com_port == 1 && st.port_open;
    case 29: return st.com_port == 2 && st.port_open;
    default: break;
    }
    if (ind >= 30 && ind <= 38)
        return st.zoom_area == ind - 29;
    return std::nullopt;
}

QString button_description(int ind, const SharedState& st)
{
    const auto text = caption(ind, st);
    return text ? displayed_text(*text) : QString();
}

QString option_name(int i)
{
    static const char* const kNames[] = {"TV System: NTSC",  "TV System: PAL",   "Panel Skin: Wood",
                                         "Panel Skin: Flower", "Test Pattern: On", "Test Pattern: Off",
                                         "Win on Top: On",   "Win on Top: Off"};
    return i >= 0 && i < 8 ? QString::fromLatin1(kNames[i]) : QString();
}

QString slider_name(int i)
{
    static const char* const kNames[] = {"Contrast", "Brightness", "Color", "Sharpness"};
    return i >= 0 && i < 4 ? QString::fromLatin1(kNames[i]) : QString();
}

QString connection_name()
{
    return QStringLiteral("Connection to the box");
}

QString connection_description(bool on)
{
    return on ? QStringLiteral("The box answers") : QStringLiteral("No answer from the box");
}

const std::vector<FocusStop>& reading_order()
{
    using S = FocusStop;
    static const std::vector<FocusStop> order = [] {
        std::vector<FocusStop> v;
        const auto buttons = [&v](std::initializer_list<int> list) {
            for (int i : list)
                v.push_back({S::Button, i});
        };
        buttons({26, 6, 7, 8, 9, 10, 27, 11, 12, 13, 14, 15});  // main page, two rows
        buttons({17, 18, 21, 20, 19});                          // the arrow pad
        buttons({30, 31, 32, 33, 34, 35, 36, 37, 38});          // the zoom grid
        for (int i = 0; i < 8; ++i)
            v.push_back({S::Option, i});
        for (int i = 0; i < 4; ++i)
            v.push_back({S::Slider, i});
        buttons({23, 24, 25, 16, 28, 29, 2, 1, 0, 3});
        return v;
    }();
    return order;
}

}  // namespace access
