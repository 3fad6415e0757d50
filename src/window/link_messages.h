#pragma once
// How the panel window words what the link reports: "*** WAIT ***" while the
// box gets ready, "COM port error !" and a box with the reason when a port
// will not open, "COM1 lost !" with the reason in the tooltip when an open
// port fails, and the tooltip cleared once the port is back.

#include "link/link_observer.h"

class ComDeviceMenu;
class DeviceLink;
class PanelHost;
struct PanelElements;

class LinkMessages : public LinkObserver {
public:
    LinkMessages(PanelElements& el, DeviceLink& link, PanelHost& host) : el_(el), link_(link), host_(host) {}
    // Failures then also say what the user should know about the device.
    void use_device_menu(const ComDeviceMenu* menu) { menu_ = menu; }

    void ready_wait_began() override;
    void port_failed(int com_port, const QString& reason) override;
    void port_lost(int com_port, const QString& reason) override;
    void synchronise() override;

private:
    PanelElements& el_;
    DeviceLink& link_;
    PanelHost& host_;
    const ComDeviceMenu* menu_ = nullptr;
};

// "PC error on COM1: !": the title of a port's failure.
QString port_error_message(int com_port);
