#pragma once
// The notification-area icon that stands in for the hidden panel: a left or
// right click shows or hides the panel; its menu does too, and offers what
// the window adds (the device menus, the receive monitor) and Quit. Where
// the desktop has no notification area the panel is minimised instead, so
// it can always be brought back.

#include <QObject>
#include <functional>

class Desktop;
class QMenu;
class QSystemTrayIcon;
class QWidget;

class PanelTray : public QObject {
    Q_OBJECT
public:
    PanelTray(QWidget& window, Desktop& desktop);

    // The panel goes to the tray (the icon shows from then on).
    void hide_in_tray();
    // Shows the hidden panel or hides the shown one.
    void toggle_window();
    // Shut-down: the icon goes.
    void remove_icon();
    QSystemTrayIcon* icon() const { return icon_; }

    // Adds the window's own entries to the icon's menu, before "Quit".
    std::function<void(QMenu& menu)> fill_menu;

private:
    void make_icon();

    QWidget& window_;
    Desktop& desktop_;
    QSystemTrayIcon* icon_ = nullptr;
};
