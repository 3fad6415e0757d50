#include "platform/key_hold.h"

#include <QKeyEvent>

namespace {
bool activation_key(const QKeyEvent* event)
{
    const int key = event->key();
    return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}
}  // namespace

KeyHold::Step KeyHold::key_down(const QKeyEvent* event)
{
    if (!activation_key(event))
        return Step::NotMine;
    if (event->isAutoRepeat() || key_ != 0)
        return Step::Nothing;
    key_ = event->key();
    return Step::Press;
}

KeyHold::Step KeyHold::key_up(const QKeyEvent* event)
{
    if (!activation_key(event))
        return Step::NotMine;
    if (event->isAutoRepeat() || event->key() != key_)
        return Step::Nothing;
    key_ = 0;
    return Step::Release;
}
