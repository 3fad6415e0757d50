#include "window/panel_tray.h"

#include "platform/desktop.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

PanelTray::PanelTray(QWidget& window, Desktop& desktop) : QObject(&window), window_(window), desktop_(desktop) {}

void PanelTray::hide_in_tray()
{
    if (!desktop_.tray_available()) {
        window_.showMinimized();
        return;
    }
    if (!icon_)
        make_icon();
    window_.hide();
}

void PanelTray::make_icon()
{
    icon_ = new QSystemTrayIcon(window_.windowIcon(), this);
    icon_->setToolTip(QStringLiteral("Scan Converter"));
    auto* menu = new QMenu(&window_);
    menu->addAction(QStringLiteral("Show or hide the panel"), this, &PanelTray::toggle_window);
    if (fill_menu)
        fill_menu(*menu);
    menu->addAction(QStringLiteral("Quit"), &window_, &QWidget::close);
    icon_->setContextMenu(menu);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger || why == QSystemTrayIcon::Context)
            toggle_window();
    });
    icon_->show();
}

void PanelTray::toggle_window()
{
    if (!window_.isVisible()) {
        window_.setWindowState(window_.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        window_.show();
    } else {
        window_.hide();
    }
}

void PanelTray::remove_icon()
{
    if (!icon_)
        return;
    icon_->hide();
    delete icon_;
    icon_ = nullptr;
}
