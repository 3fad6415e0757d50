#pragma once
// A picture of the desktop from its screenshot portal
// (org.freedesktop.portal.Screenshot), for Wayland desktops that refuse a
// direct grab. The request is non-interactive: the user picks nothing, but
// the desktop may ask the user's permission first (GNOME does, once), for
// as long as the user takes: the request then stays open and answers later.

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <QVariantMap>

class PortalScreenshot : public QObject {
    Q_OBJECT
public:
    // Sends the request; false when no portal takes it.
    bool start();
    // Waits for the answer at most `timeout_ms`, with timers and D-Bus
    // running but no user input. True once answered.
    bool wait(int timeout_ms);
    bool answered() const { return answered_; }
    // The answer: 0 granted, 1 cancelled by the user, 2 refused otherwise.
    uint response() const { return response_; }
    // The picture the answer names (its file removed when temporary); null
    // for a refusal or an unreadable file.
    QImage take_picture();

signals:
    void finished();

private slots:
    void receive(uint code, const QVariantMap& values);

private:
    QString path_;
    bool answered_ = false;
    uint response_ = 2;
    QVariantMap results_;
};

// The local file a portal's answer names; empty for a refusal or an answer
// that names no local file.
QString portal_picture_file(uint response, const QVariantMap& results);

// The part of a picture of the whole desktop (`desktop`, in logical pixels)
// that shows `screen`, at the screen's logical size. The portal's picture
// may be in device pixels and cover several screens.
QImage screen_part_of_desktop(const QImage& picture, const QRect& desktop, const QRect& screen);
