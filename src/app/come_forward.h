#pragma once
// A second start of the panel brings the running one forward: out of the
// notification area or minimised, in front of other windows. While the
// magnifier is open (the panel hidden behind it on purpose), the magnifier
// comes forward instead. A desktop lets a window come forward only for a
// start the user made: the second start's activation token says so.

#include <QByteArray>
#include <QString>

class FrmMain;

void come_forward(FrmMain& panel, const QString& token = QString());

// The activation token this program was started with (Wayland's
// XDG_ACTIVATION_TOKEN, else the X11 startup id, which GNOME also takes
// as one); empty when none. Call before the application object exists.
QByteArray desktop_activation_token();
