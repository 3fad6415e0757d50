#pragma once
// What the panel's skinned controls share, whatever widget they are made
// from: the focus mark painted over the control's own face while it has the
// keyboard focus; and, where they are pressed, Space or Enter held on them
// as one press and one release (KeyHold). A control that loses its place
// while it has the focus says so (control_event::lost_place) instead of
// letting the toolkit pass the focus on by itself.

#include "widgets/control_events.h"
#include "widgets/focus_mark.h"
#include "widgets/key_hold.h"

#include <QKeyEvent>
#include <QPainter>

template <class Base>
class SkinnedControl : public Base {
public:
    using Base::Base;

protected:
    // The control's own face; the focus mark goes over it.
    virtual void paint_face(QPaintEvent* event) { Base::paintEvent(event); }
    virtual QRect focus_mark_rect() const { return this->rect(); }

    void paintEvent(QPaintEvent* event) override
    {
        paint_face(event);
        if (this->hasFocus()) {
            QPainter painter(this);
            paint_focus_mark(painter, focus_mark_rect());
        }
    }
    void focusInEvent(QFocusEvent* event) override
    {
        Base::focusInEvent(event);
        this->update();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        Base::focusOutEvent(event);
        this->update();
    }
    // The toolkit asks a control that is hidden or disabled under the focus
    // to pass it on; a watcher may have put it elsewhere already.
    bool focusNextPrevChild(bool next) override
    {
        if (this->hasFocus() && (!this->isVisible() || !this->isEnabled())
            && control_event::announce(this, control_event::lost_place()) && !this->hasFocus())
            return true;
        return Base::focusNextPrevChild(next);
    }
};

template <class Base>
class PressableControl : public SkinnedControl<Base> {
public:
    explicit PressableControl(QWidget* parent = nullptr) : SkinnedControl<Base>(parent)
    {
        QObject::connect(&key_hold_, &KeyHold::released, this, [this] { key_released(); });
    }

    KeyHold& key_hold() { return key_hold_; }

    // An activation from the event loop, as assistive technology asks for
    // it; nothing when the control is hidden or disabled by then.
    void activate_later()
    {
        QMetaObject::invokeMethod(
            this, [this] {
                if (this->isEnabled() && this->isVisible())
                    activate();
            },
            Qt::QueuedConnection);
    }

protected:
    // What an activation does: what a click does.
    virtual void activate() = 0;
    // The activation key went down, and came up for good.
    virtual void key_pressed() {}
    virtual void key_released() = 0;
    // The focus left while the key was down.
    virtual void key_hold_lost() {}

    void keyPressEvent(QKeyEvent* event) override
    {
        const KeyHold::Step step = key_hold_.key_down(event);
        if (step == KeyHold::Step::NotMine) {
            Base::keyPressEvent(event);
            return;
        }
        event->accept();
        if (step == KeyHold::Step::Press)
            key_pressed();
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (!key_hold_.key_up(event)) {
            Base::keyReleaseEvent(event);
            return;
        }
        event->accept();
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        SkinnedControl<Base>::focusOutEvent(event);
        if (key_hold_.held()) {
            key_hold_.drop();
            key_hold_lost();
        }
    }

private:
    KeyHold key_hold_;
};
