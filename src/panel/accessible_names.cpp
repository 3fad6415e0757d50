#include "panel/accessible_names.h"

#include "core/shared_state.h"
#include "panel/captions.h"
#include "panel/panel_ids.h"

namespace access {

QString button_name(int ind, const SharedState& st)
{
    const bool overscan = st.scan_mode == 1;
    switch (ind) {
    case buttons::tray: return QStringLiteral("Send to tray");
    case buttons::minimise: return QStringLiteral("Minimize");
    case buttons::close: return QStringLiteral("Close");
    case buttons::about: return QStringLiteral("About");
    case buttons::sys_reset: return QStringLiteral("System reset");
    case buttons::zoom: return QStringLiteral("Zoom");
    case buttons::magnifier: return QStringLiteral("Magnifier");
    case buttons::scan: return QStringLiteral("Overscan");
    case buttons::options: return QStringLiteral("Options");
    case buttons::position:
    case buttons::position_tab: return overscan ? QStringLiteral("Pan picture") : QStringLiteral("Move picture");
    case buttons::size:
    case buttons::size_tab: return overscan ? QStringLiteral("Expand picture") : QStringLiteral("Size picture");
    case buttons::output: return QStringLiteral("YPbPr output");
    case buttons::freeze: return QStringLiteral("Freeze");
    case buttons::video: return QStringLiteral("Video settings");
    case buttons::back: return QStringLiteral("Back to main panel");
    case buttons::up: return QStringLiteral("Up");
    case buttons::left: return QStringLiteral("Left");
    case buttons::down: return QStringLiteral("Down");
    case buttons::right: return QStringLiteral("Right");
    case buttons::centre: return QStringLiteral("Default");
    case buttons::refresh: return QStringLiteral("Refresh");
    case buttons::video_reset: return QStringLiteral("Reset video settings");
    case buttons::power: return QStringLiteral("Power");
    case buttons::aspect: return QStringLiteral("Aspect ratio");
    case buttons::com1: return QStringLiteral("COM1");
    case buttons::com2: return QStringLiteral("COM2");
    default: break;
    }
    if (buttons::is_zoom_area(ind))
        return QStringLiteral("Zoom area %1").arg(ind - buttons::first_zoom_area + 1);
    return {};
}

// The same tests the pictures use, so the state heard is the state shown.
std::optional<bool> button_checked(int ind, const SharedState& st)
{
    switch (ind) {
    case buttons::scan: return st.scan_mode != 0;
    case buttons::output: return st.output_yuv != 0;
    case buttons::freeze: return st.freeze_state == 1;
    case buttons::position_tab: return st.current_page == pages::position;
    case buttons::size_tab: return st.current_page == pages::size;
    case buttons::power: return st.power_state == 1;
    case buttons::com1: return st.com_port == 1 && st.port_open;
    case buttons::com2: return st.com_port == 2 && st.port_open;
    default: break;
    }
    if (buttons::is_zoom_area(ind))
        return buttons::zoom_area_button(st.zoom_area) == ind;
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
        const auto stops = [&v](std::initializer_list<int> list) {
            for (int i : list)
                v.push_back({S::Button, i});
        };
        using namespace buttons;
        stops({power, sys_reset, zoom, magnifier, scan, options,  // main page, two rows
               aspect, position, size, output, freeze, video});
        stops({up, left, centre, right, down});                    // the arrow pad
        for (int i = first_zoom_area; i <= last_zoom_area; ++i)   // the zoom grid
            v.push_back({S::Button, i});
        for (int i = 0; i < 8; ++i)
            v.push_back({S::Option, i});
        for (int i = 0; i < 4; ++i)
            v.push_back({S::Slider, i});
        stops({position_tab, size_tab, video_reset, back, com1, com2, close, minimise, tray, about});
        return v;
    }();
    return order;
}

}  // namespace access
