#pragma once
// A picture of the desktop from its screenshot portal
// (org.freedesktop.portal.Screenshot), for Wayland desktops that refuse a
// direct grab. The request is non-interactive: the user picks nothing.

#include <QImage>
#include <QRect>
#include <QString>
#include <QVariantMap>

// Asks the portal and waits for its answer, at most `timeout_ms`, with
// timers and D-Bus running but no user input. Null when there is no portal,
// it refuses, fails or does not answer in time.
QImage portal_screenshot(int timeout_ms);

// The local file a portal's answer names; empty for a refusal or an answer
// that names no local file.
QString portal_picture_file(uint response, const QVariantMap& results);

// The part of a picture of the whole desktop (`desktop`, in logical pixels)
// that shows `screen`, at the screen's logical size. The portal's picture
// may be in device pixels and cover several screens.
QImage screen_part_of_desktop(const QImage& picture, const QRect& desktop, const QRect& screen);
