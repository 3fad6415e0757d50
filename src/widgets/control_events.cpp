#include "widgets/control_events.h"

#include <QCoreApplication>

namespace control_event {

QEvent::Type lost_place()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type activated()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool announce(QObject* control, QEvent::Type type)
{
    QEvent event(type);
    event.ignore();
    QCoreApplication::sendEvent(control, &event);
    return event.isAccepted();
}

}  // namespace control_event
