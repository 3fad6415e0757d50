#pragma once
// The COM buttons' device menus. A long press on a COM button, the menu key
// (or Shift+F10) on a focused one, and a submenu of the tray icon's menu
// open a menu of the serial devices present; the device in use is ticked,
// and "Other device…" takes a typed path. Choosing a device remembers it
// beside the settings file and opens it as a click on the COM button does.
// A plain click, left or right, stays a click: this only watches the two
// buttons through an event filter.

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>

class ComDevices;
class PictureButton;
class QWidget;
struct Panel;
struct SerialDeviceInfo;

class ComDeviceMenu : public QObject {
    Q_OBJECT
public:
    ComDeviceMenu(Panel& panel, ComDevices& devices, const QString& map_path, QWidget* window);

    // Start-up, before the port opens: the devices chosen in earlier runs.
    void load_choices();
    // End of start-up: a settings file that could not be read
    // (`settings_note`), a remembered choice that could not be used, or two
    // adapters to choose between, is said on the message line.
    void report_start(const QString& settings_note = QString());
    // The detail of a port that would not open, with what the user should
    // know about the device it stood for.
    QString explain_failure(int com, const QString& detail) const;

    // Opens COM<com>'s menu below its button; it stays open until chosen
    // from or dismissed (not modal).
    QMenu* open_menu(int com);
    // The menu on show, if any.
    QMenu* open_menu() const { return menu_ && menu_->isVisible() ? menu_.data() : nullptr; }
    // "Serial device" with a COM1 and a COM2 submenu, for the tray icon.
    QMenu* tray_menu(QWidget* parent);
    // Uses `name` (a path or a stable name) for COM<com> from now on.
    void choose(int com, const QString& name);

    // How "Other device…" asks for a path; empty when cancelled. Tests
    // answer for the user.
    std::function<QString(int com, const QString& current)> ask_path;
    // The only dialog: a message with an OK button.
    std::function<void(const QString& text, const QString& detail)> tell;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int com_of(QObject* watched) const;
    void fill(QMenu* menu, int com);
    void choose_listed(int com, const SerialDeviceInfo& device);
    void choose_other(int com);
    void refresh_tooltip(int com);
    QString current_device(int com) const;

    Panel& p_;
    ComDevices& devices_;
    QString map_path_;
    QWidget* window_;
    QString file_note_;          // the remembered choices could not all be read
    QTimer hold_;                // a press held this long opens the menu
    int held_com_ = 0;
    bool eat_release_ = false;   // the press opened the menu: its release is no click
    QPointer<QMenu> menu_;
};
