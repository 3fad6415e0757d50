#include "panel/captions.h"

#include "core/shared_state.h"

std::optional<QString> caption(int ind, const SharedState& st)
{
    switch (ind) {
    case 0: return QStringLiteral("System Tray");
    case 1: return QStringLiteral("Minimize");
    case 2: return QStringLiteral("Close");
    case 3: return QStringLiteral("About");
    case 6: return QStringLiteral("System Reset");
    case 7: return QStringLiteral("Zoom");
    case 8: return QStringLiteral("Magnifier");
    case 9: return QString(st.scan_mode == 0 ? "Underscan" : "Overscan");
    case 10: return QStringLiteral("Options");
    case 11:
    case 23: return QString(st.scan_mode == 0 ? "Move Picture" : "Pan Picture");
    case 12:
    case 24: return QString(st.scan_mode == 0 ? "Size Picture" : "Expand Picture");
    case 13: return QString(st.output_yuv == 0 ? "CV/SV Output" : "YPbPr Output");
    case 14: return QString(st.freeze_state == 0 ? "Freeze Off" : "Freeze On");
    case 15: return QStringLiteral("Video Settings Reset");
    case 16: return QStringLiteral("Back to Main Panel");
    case 17: return QStringLiteral("Up");
    case 18: return QStringLiteral("Left");
    case 19: return QStringLiteral("Down");
    case 20: return QStringLiteral("Right");
    case 21:
    case 25: return QStringLiteral("Reset");
    case 22: return QStringLiteral("Refresh");
    case 26: return QString(st.power_state == 0 ? "Power Off" : "Power On");
    case 27:
        return QString(st.aspect_mode == 0 ? "Aspect-Full"
                       : st.aspect_mode == 1 ? "Aspect-Pan&&Scan"
                                             : "Aspect-Letterbox");
    case 28: return QString(st.com_port == 1 && st.port_open ? "COM1: On" : "COM1: Off");
    case 29: return QString(st.com_port == 2 && st.port_open ? "COM2: On" : "COM2: Off");
    default: break;
    }
    if (ind >= 30 && ind <= 38)
        return QStringLiteral("Zoom Area %1").arg(ind - 29);
    return std::nullopt;
}

QString displayed_text(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) {
            out += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
            out += QLatin1Char('&');
            ++i;
        }
    }
    return out;
}
