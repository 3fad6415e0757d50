#pragma once
// A picture of the screen from KWin's own screenshot interface
// (org.kde.KWin.ScreenShot2). KDE Plasma's portal refuses a request that
// does not ask the user every time, but KWin answers without a question a
// program whose desktop entry (found by the program's path in Exec) lists
// the interface in X-KDE-DBUS-Restricted-Interfaces.

#include <QImage>
#include <QRect>
#include <QVariantMap>

struct KWinShot {
    enum Outcome { picture, not_permitted, failed } outcome = failed;
    QImage image;
};

// Whether KWin offers the interface on the session bus.
bool kwin_screenshot_offered();

// `area` of the desktop, in logical pixels.
KWinShot kwin_screenshot(const QRect& area);

// The picture in raw bytes as KWin describes them in `results` (type "raw",
// width, height, stride, a QImage format); null when they do not fit.
QImage kwin_raw_picture(const QVariantMap& results, const QByteArray& bytes);
