#include "window/link_messages.h"

#include "link/device_link.h"
#include "panel/captions.h"
#include "widgets/message_line.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "window/com_device_menu.h"
#include "window/port_messages.h"

QString port_error_message(int com_port)
{
    return QStringLiteral("PC error on COM%1: !").arg(com_port);
}

void LinkMessages::ready_wait_began()
{
    el_.lab_msg->set_caption(QStringLiteral("*** WAIT ***"));
}

void LinkMessages::port_failed(int com_port, const QString& reason)
{
    QString detail = port_failure_detail(com_port, link_.device_name(com_port), reason);
    if (menu_)
        detail = menu_->explain_failure(com_port, detail);
    host_.show_message(port_error_message(com_port), detail);
    el_.lab_msg->set_caption(QStringLiteral("COM port error !"));
}

void LinkMessages::port_lost(int com_port, const QString& reason)
{
    el_.lab_msg->set_caption(port_lost_message(com_port));
    el_.lab_msg->setToolTip(port_lost_detail(link_.device_name(com_port), reason));
}

void LinkMessages::synchronise()
{
    el_.lab_msg->setToolTip(QString());  // what was said about the loss is over
}
