#include "panel/captions.h"

#include "core/shared_state.h"
#include "panel/panel_ids.h"

std::optional<QString> caption(int ind, const SharedState& st)
{
    switch (ind) {
    case buttons::tray: return QStringLiteral("System Tray");
    case buttons::minimise: return QStringLiteral("Minimize");
    case buttons::close: return QStringLiteral("Close");
    case buttons::about: return QStringLiteral("About");
    case buttons::sys_reset: return QStringLiteral("System Reset");
    case buttons::zoom: return QStringLiteral("Zoom");
    case buttons::magnifier: return QStringLiteral("Magnifier");
    case buttons::scan: return QString(st.scan_mode == 0 ? "Underscan" : "Overscan");
    case buttons::options: return QStringLiteral("Options");
    case buttons::position:
    case buttons::position_tab: return QString(st.scan_mode == 0 ? "Move Picture" : "Pan Picture");
    case buttons::size:
    case buttons::size_tab: return QString(st.scan_mode == 0 ? "Size Picture" : "Expand Picture");
    case buttons::output: return QString(st.output_yuv == 0 ? "CV/SV Output" : "YPbPr Output");
    case buttons::freeze: return QString(st.freeze_state == 0 ? "Freeze Off" : "Freeze On");
    case buttons::video: return QStringLiteral("Video Settings Reset");
    case buttons::back: return QStringLiteral("Back to Main Panel");
    case buttons::up: return QStringLiteral("Up");
    case buttons::left: return QStringLiteral("Left");
    case buttons::down: return QStringLiteral("Down");
    case buttons::right: return QStringLiteral("Right");
    case buttons::centre:
    case buttons::video_reset: return QStringLiteral("Reset");
    case buttons::refresh: return QStringLiteral("Refresh");
    case buttons::power: return QString(st.power_state == 0 ? "Power Off" : "Power On");
    case buttons::aspect:
        return QString(st.aspect_mode == 0 ? "Aspect-Full"
                       : st.aspect_mode == 1 ? "Aspect-Pan&&Scan"
                                             : "Aspect-Letterbox");
    case buttons::com1: return QString(st.com_port == 1 && st.port_open ? "COM1: On" : "COM1: Off");
    case buttons::com2: return QString(st.com_port == 2 && st.port_open ? "COM2: On" : "COM2: Off");
    default: break;
    }
    if (buttons::is_zoom_area(ind))
        return QStringLiteral("Zoom Area %1").arg(ind - buttons::first_zoom_area + 1);
    return std::nullopt;
}

QString port_lost_message(int com_port)
{
    return QStringLiteral("COM%1 lost !").arg(com_port);
}
