#include "window/com_device_menu.h"

#include "core/shared_state.h"
#include "link/com_devices.h"
#include "link/device_choice.h"
#include "widgets/message_line.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "widgets/picture_button.h"
#include "panel/press_dispatch.h"
#include "window/device_map_file.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>

namespace {

// A menu shows "&" as a shortcut marker.
QString menu_text(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

bool is_menu_key(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

}  // namespace

ComDeviceMenu::ComDeviceMenu(Panel& panel, ComDevices& devices, const QString& map_path, QWidget* window)
    : QObject(window), p_(panel), devices_(devices), map_path_(map_path), window_(window)
{
    hold_.setSingleShot(true);
    connect(&hold_, &QTimer::timeout, this, [this] {
        eat_release_ = true;
        open_menu(held_com_);
    });
    for (int com = 1; com <= 2; ++com)
        if (PictureButton* b = p_.el.img_ico[buttons::com_button(com)])
            b->installEventFilter(this);
    ask_path = [this](int com, const QString& current) {
        return QInputDialog::getText(window_, QStringLiteral("Other device for COM%1").arg(com),
                                     QStringLiteral("Path of the serial device for COM%1:").arg(com),
                                     QLineEdit::Normal, current)
            .trimmed();
    };
}

void ComDeviceMenu::load_choices()
{
    DeviceMap map = read_device_map(map_path_);
    for (int com = 1; com <= 2; ++com)
        if (!map.com(com).isEmpty())
            devices_.set_chosen(com, map.com(com));
    file_note_ = device_map_note(map_path_, map);
}

void ComDeviceMenu::report_start(const QString& settings_note)
{
    const int com = p_.st.com_port;
    const DeviceResolution& r = devices_.resolution(com);
    QStringList notes;
    if (!settings_note.isEmpty())
        notes << settings_note;
    if (!file_note_.isEmpty())
        notes << file_note_;
    if (r.warning && !r.note.isEmpty())
        notes << r.note;
    if (notes.isEmpty())
        return;
    QString caption = settings_note.isEmpty() ? QStringLiteral("Device file unreadable")
                                              : QStringLiteral("Settings file unreadable");
    if (r.warning)
        caption = devices_.chosen(com).isEmpty() ? QStringLiteral("Choose the COM%1 device").arg(com)
                                                 : QStringLiteral("COM%1 device missing").arg(com);
    p_.el.lab_msg->set_caption(caption);
    p_.el.lab_msg->setToolTip(notes.join(QLatin1Char('\n')));
}

QString ComDeviceMenu::explain_failure(int com, const QString& detail) const
{
    QString text = detail;
    const QString note = devices_.resolution(com).note;
    if (!note.isEmpty())
        text = note + QStringLiteral("\n\n") + text;
    // Why the default device was tried at all.
    if (!file_note_.isEmpty())
        text = file_note_ + QStringLiteral("\n\n") + text;
    return text
        + QStringLiteral("\nTo use another serial device, hold the COM%1 button down and choose it.").arg(com);
}

int ComDeviceMenu::com_of(QObject* watched) const
{
    for (int com = 1; com <= 2; ++com)
        if (watched == p_.el.img_ico[buttons::com_button(com)])
            return com;
    return 0;
}

// Watches the COM buttons only for what opens the menu; everything else,
// the click above all, goes on to the button as before.
bool ComDeviceMenu::eventFilter(QObject* watched, QEvent* event)
{
    const int com = com_of(watched);
    if (com == 0)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        eat_release_ = false;
        held_com_ = com;
        hold_.start(QGuiApplication::styleHints()->mousePressAndHoldInterval());
        return false;
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!static_cast<QWidget*>(watched)->rect().contains(at))
            hold_.stop();  // dragged off the button: no long press
        return false;
    }
    case QEvent::MouseButtonRelease:
        hold_.stop();
        if (eat_release_) {
            eat_release_ = false;
            return true;  // the end of a long press, not a click
        }
        return false;
    case QEvent::ContextMenu:
        if (static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Keyboard)
            return false;  // a right click stays a click
        open_menu(com);
        return true;
    case QEvent::KeyPress:
        if (!is_menu_key(static_cast<QKeyEvent*>(event)))
            return false;
        open_menu(com);
        return true;
    case QEvent::ToolTip:
        refresh_tooltip(com);
        return false;
    default:
        return false;
    }
}

QMenu* ComDeviceMenu::open_menu(int com)
{
    hold_.stop();
    if (menu_)
        menu_->close();
    auto* menu = new QMenu(window_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    fill(menu, com);
    PictureButton* b = p_.el.img_ico[buttons::com_button(com)];
    menu->popup(b ? b->mapToGlobal(QPoint(0, b->height())) : QCursor::pos());
    menu_ = menu;
    return menu;
}

QMenu* ComDeviceMenu::tray_menu(QWidget* parent)
{
    auto* menu = new QMenu(QStringLiteral("Serial device"), parent);
    for (int com = 1; com <= 2; ++com) {
        QMenu* sub = menu->addMenu(QStringLiteral("COM%1").arg(com));
        connect(sub, &QMenu::aboutToShow, this, [this, sub, com] {
            sub->clear();
            fill(sub, com);
        });
    }
    return menu;
}

// The device COM<com> uses now, or would use at its next opening.
QString ComDeviceMenu::current_device(int com) const
{
    return devices_.resolution(com).path;
}

// Each entry acts once the menu has closed and left its event handler: what
// it starts (a dialog, an exchange with the box) runs window events, and
// the menu must not be deleted under its own feet.
void ComDeviceMenu::fill(QMenu* menu, int com)
{
    menu->setToolTipsVisible(true);
    menu->addSection(QStringLiteral("COM%1 device").arg(com));
    const QList<SerialDeviceInfo> devices = devices_.list().devices();
    const QString current = current_device(com);
    const int in_use = find_device(devices, current);
    if (in_use < 0 && !current.isEmpty()) {
        // A typed path (a pty) or a port the system does not list.
        QAction* a = menu->addAction(menu_text(current));
        a->setCheckable(true);
        a->setChecked(true);
        a->setToolTip(QStringLiteral("In use, though not listed as a serial device of this computer"));
        connect(a, &QAction::triggered, this, [this, com, current] { choose(com, current); }, Qt::QueuedConnection);
    }
    for (int i = 0; i < devices.size(); ++i) {
        const SerialDeviceInfo device = devices[i];
        QAction* a = menu->addAction(menu_text(device_label(device)));
        a->setCheckable(true);
        a->setChecked(i == in_use);
        a->setToolTip(device.stable_name.isEmpty() ? device.path : device.stable_name);
        connect(a, &QAction::triggered, this, [this, com, device] { choose_listed(com, device); },
                Qt::QueuedConnection);
    }
    if (devices.isEmpty()) {
        QAction* none = menu->addAction(QStringLiteral("No serial devices found"));
        none->setEnabled(false);
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Other device\u2026")), &QAction::triggered, this,
            [this, com] { choose_other(com); }, Qt::QueuedConnection);
}

// The list was read when the menu opened: the device may have gone since.
void ComDeviceMenu::choose_listed(int com, const SerialDeviceInfo& device)
{
    if (!devices_.list().exists(device.path) && !devices_.list().exists(device.stable_name)) {
        if (tell)
            tell(device.path + QStringLiteral(" is not there any more"),
                 device_label(device)
                     + QStringLiteral(" was unplugged while the menu was open. Plug it in again and choose it "
                                      "from the COM%1 button's menu. COM%1 stays as it was.")
                           .arg(com));
        return;
    }
    choose(com, remembered_name(device));
}

void ComDeviceMenu::choose_other(int com)
{
    const QString path = ask_path ? ask_path(com, current_device(com)) : QString();
    if (path.isEmpty())
        return;  // cancelled
    const QString problem = devices_.list().problem_with(path);
    if (!problem.isEmpty()) {
        if (tell)
            tell(QStringLiteral("Cannot use ") + path + QStringLiteral(" for COM%1").arg(com),
                 problem + QStringLiteral(" COM%1 stays as it was.").arg(com));
        return;
    }
    choose(com, path);
}

void ComDeviceMenu::choose(int com, const QString& name)
{
    devices_.choose(com, name);
    QString error;
    if (write_device_map(map_path_, format_device_map(devices_.chosen(1), devices_.chosen(2)), error))
        file_note_.clear();
    else if (tell)
        tell(QStringLiteral("Cannot remember the device for COM%1").arg(com),
             error + QStringLiteral(" COM%1 uses ").arg(com) + name + QStringLiteral(" until the panel is closed."));
    open_com_port(p_, com);
}

// Worked out when it is about to show, since devices come and go (and
// listing them takes the system a moment).
void ComDeviceMenu::refresh_tooltip(int com)
{
    PictureButton* b = p_.el.img_ico[buttons::com_button(com)];
    if (!b)
        return;
    // The open port's device is the one in use; the other is worked out anew.
    const bool in_use = p_.st.port_open && p_.st.com_port == com;
    const DeviceResolution r = in_use ? devices_.resolution(com) : devices_.resolve(com);
    b->setToolTip(com_tooltip(com, r, devices_.list().devices()));
}
