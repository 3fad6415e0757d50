#include "widgets/key_hold.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {

// The X server repeats about every 25 to 40 ms and sends each pair at once:
// the press is never far behind its release.
constexpr int kX11RepeatGraceMs = 30;
// No desktop starts repeating a key sooner after its press than this: a key
// let go before it is let go for good, as a quick tap is.
constexpr quint64 kShortestRepeatDelayMs = 100;

// Events made by a program may carry no time: then a press within the grace
// is taken for a repeat.
bool same_moment(quint64 press, quint64 release)
{
    return press == release || press == 0 || release == 0;
}

bool activation_key(const QKeyEvent* event)
{
    const int key = event->key();
    return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace

KeyHold::KeyHold(QObject* parent) : QObject(parent)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        grace_ms_ = kX11RepeatGraceMs;
    pending_release_.setSingleShot(true);
    connect(&pending_release_, &QTimer::timeout, this, &KeyHold::end_hold);
}

KeyHold::Step KeyHold::key_down(const QKeyEvent* event)
{
    if (!activation_key(event))
        return Step::NotMine;
    if (event->isAutoRepeat())
        return Step::Nothing;
    if (key_ != 0) {
        if (event->key() != key_ || !pending_release_.isActive())
            return Step::Nothing;  // a second key, or a repeat without a release
        pending_release_.stop();
        // The press of a repeated pair carries its release's time: the hold
        // goes on. A press of its own (quick fingers, a script) ends it first.
        if (same_moment(event->timestamp(), released_at_))
            return Step::Nothing;
        end_hold();
        key_ = event->key();
        pressed_at_ = event->timestamp();
        return Step::Press;
    }
    // A pair's press that came after its release had counted: still no new hold.
    if (event->timestamp() != 0 && event->timestamp() == released_at_ && event->key() == released_key_)
        return Step::Nothing;
    key_ = event->key();
    pressed_at_ = event->timestamp();
    return Step::Press;
}

bool KeyHold::key_up(const QKeyEvent* event)
{
    if (!activation_key(event))
        return false;
    if (event->isAutoRepeat() || event->key() != key_)
        return true;
    released_key_ = key_;
    released_at_ = event->timestamp();
    const bool before_any_repeat = released_at_ == 0 || released_at_ - pressed_at_ < kShortestRepeatDelayMs;
    if (grace_ms_ <= 0 || before_any_repeat)
        end_hold();
    else
        pending_release_.start(grace_ms_);
    return true;
}

void KeyHold::drop()
{
    pending_release_.stop();
    key_ = 0;
}

void KeyHold::end_hold()
{
    key_ = 0;
    emit released();
}
