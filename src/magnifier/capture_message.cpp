#include "magnifier/capture_message.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("FrmMag", text);
}

}  // namespace

DesktopKind desktop_kind(const QByteArray& current_desktop)
{
    for (const QByteArray& name : current_desktop.toLower().split(':')) {
        if (name == "gnome")
            return DesktopKind::gnome;
        if (name == "kde")
            return DesktopKind::kde;
    }
    return DesktopKind::other;
}

QString capture_message(CaptureProblem problem, DesktopKind desktop)
{
    switch (problem) {
    case CaptureProblem::waiting_for_user:
        return tr("<b>Waiting for permission</b><br>The desktop asks whether this program may take "
                  "screenshots: allow it within 25 seconds, and the picture follows.");
    case CaptureProblem::unanswered:
        return tr("<b>The desktop's question went unanswered</b><br>Close its dialog, then press refresh "
                  "to be asked again.");
    case CaptureProblem::refused:
        if (desktop == DesktopKind::gnome)
            return tr("<b>GNOME refused screen capture</b><br>To allow it, run the command under "
                      "Screen capture in 'man qv742-panel', then press refresh.");
        return tr("<b>The desktop refused screen capture</b><br>Allow this program to take screenshots "
                  "in the desktop's privacy settings, then press refresh.");
    case CaptureProblem::needs_entry:
        return tr("<b>KDE Plasma lets only installed programs capture the screen</b><br>Install the "
                  "package, or start a build with scripts/run once; then press refresh.");
    case CaptureProblem::unavailable:
        break;
    }
    return tr("<b>Screen capture is not available on this desktop</b>"
              "<br>Allow this program to capture the screen, then press refresh.");
}
