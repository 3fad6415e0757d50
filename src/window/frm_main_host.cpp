// What the link and the panel's routines ask of the window.

#include "window/frm_main.h"

#include "core/shared_state.h"
#include "link/serial_port.h"
#include "magnifier/frm_mag.h"
#include "monitor/frm_rx.h"
#include "panel/button_pictures.h"
#include "panel/message_line.h"
#include "panel/state_sync.h"
#include "platform/desktop.h"
#include "platform/picture_store.h"
#include "window/com_device_menu.h"
#include "window/message_box.h"
#include "window/port_messages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTimer>

void FrmMain::process_events()
{
    const DeviceLink::EventPass pass(link_);  // the link's own work waits for the routine
    if (env_.process_events)
        env_.process_events();
    else
        QCoreApplication::processEvents();
}

void FrmMain::process_events_for(int ms)
{
    if (env_.process_events_for) {
        env_.process_events_for(ms);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void FrmMain::show_message(const QString& text, const QString& detail)
{
    if (unattended_) {
        report_unanswered(text, detail);
        return;
    }
    if (env_.message_box) {
        env_.message_box(text, detail);
        return;
    }
    const auto box = make_message_box(this, QString::fromLatin1(kTitle), text, detail);
    open_box_ = box.get();
    const DeviceLink::EventPass pass(link_);  // the routine that asked goes on afterwards
    box->exec();
    open_box_ = nullptr;
    if (unattended_)  // closed by a request to end: nobody read it
        report_unanswered(text, detail);
}

void FrmMain::end_on_request()
{
    unattended_ = true;
    close_modal_dialogs();
    close();
}

void FrmMain::show_status(const QString& text)
{
    el_.lab_msg->set_caption(text);
}

void FrmMain::show_connect(bool on)
{
    ::show_connect(panel_, on);
}

void FrmMain::log_appended(const QString&)
{
    ensure_monitor().sync();
}

void FrmMain::set_poll_timer(bool on)
{
    if (!on)
        tim_rx_.stop();
}

void FrmMain::tick_due()
{
    if (!tim_rx_.isActive())
        tim_rx_.start();
}

void FrmMain::synchronise()
{
    el_.lab_msg->setToolTip(QString());  // what was said about the loss is over
    resynchronise(panel_);
}

void FrmMain::port_changed()
{
    on_off_ico(panel_, 28, false);
    on_off_ico(panel_, 29, false);
}

void FrmMain::port_failed(int com_port, const QString& reason)
{
    QString detail = port_failure_detail(com_port, env_.port->device_name(com_port), reason);
    if (device_menu_)
        detail = device_menu_->explain_failure(com_port, detail);
    show_message(port_error_message(com_port), detail);
}

void FrmMain::port_lost(int com_port, const QString& reason)
{
    el_.lab_msg->setToolTip(port_lost_detail(env_.port->device_name(com_port), reason));
}

void FrmMain::hide_window()
{
    hide();
}

void FrmMain::show_window()
{
    show();
}

void FrmMain::minimize_window()
{
    showMinimized();
}

void FrmMain::close_window()
{
    close();
}

void FrmMain::set_on_top(bool on)
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();  // changing a window flag hides the window
}

// The panel is hidden already; closing the magnifier shows it again.
void FrmMain::open_magnifier()
{
    if (env_.open_magnifier) {
        env_.open_magnifier();
        return;
    }
    if (!magnifier_) {
        magnifier_ = new FrmMag(st_, *env_.desktop, *env_.pictures);
        connect(magnifier_, &FrmMag::closed, this, [this] {
            show_window();
            magnifier_->deleteLater();
        });
    }
    magnifier_->open();
}

// The tray icon stands in for the hidden window. Where the desktop has no
// notification area, the window is minimised instead, so it can always be
// brought back.
void FrmMain::enter_tray()
{
    if (!env_.desktop->tray_available()) {
        showMinimized();
        return;
    }
    if (!st_.tray_active) {
        st_.tray_active = true;
        tray_ = new QSystemTrayIcon(windowIcon(), this);
        tray_->setToolTip(QString::fromLatin1(kTitle));
        auto* menu = new QMenu(this);
        menu->addAction(QStringLiteral("Show or hide the panel"), this, &FrmMain::tray_clicked);
        if (device_menu_)
            menu->addMenu(device_menu_->tray_menu(menu));
        menu->addAction(QStringLiteral("Show the receive monitor"), this, &FrmMain::show_monitor);
        menu->addAction(QStringLiteral("Quit"), this, &FrmMain::close);
        tray_->setContextMenu(menu);
        connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
            if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::Context)
                tray_clicked();
        });
        tray_->show();
    }
    hide();
}

void FrmMain::tray_clicked()
{
    if (!isVisible()) {
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        show();
    } else {
        hide();
    }
}
