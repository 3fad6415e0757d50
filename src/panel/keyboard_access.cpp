#include "panel/keyboard_access.h"

#include "panel/accessible_names.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "panel/option_label.h"
#include "panel/picture_button.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWidget>

PanelKeyboard::PanelKeyboard(Panel& p, QWidget& window) : QObject(&window), p_(p), window_(window)
{
    for (const access::FocusStop& stop : access::reading_order()) {
        QWidget* w = nullptr;
        switch (stop.kind) {
        case access::FocusStop::Button: w = p.el.img_ico[stop.index]; break;
        case access::FocusStop::Option: w = p.el.lab_opt[stop.index]; break;
        case access::FocusStop::Slider: w = p.el.hsr_video[stop.index]; break;
        }
        if (!w)
            continue;
        w->setFocusPolicy(Qt::TabFocus);  // a click leaves the focus where it is
        if (!stops_.empty())
            QWidget::setTabOrder(stops_.back(), w);
        stops_.push_back(w);
    }
    // No control has the focus until the user asks for one, so the mouse
    // sees the panel exactly as before.
    window.setFocus(Qt::OtherFocusReason);
    window.installEventFilter(this);
}

PanelKeyboard* PanelKeyboard::of(const QWidget* control)
{
    if (!control)
        return nullptr;
    return control->window()->findChild<PanelKeyboard*>(QString(), Qt::FindDirectChildrenOnly);
}

bool PanelKeyboard::usable(const QWidget* w) const
{
    return w && w->isVisibleTo(&window_) && w->isEnabled();
}

QWidget* PanelKeyboard::first_usable() const
{
    for (QWidget* w : stops_)
        if (usable(w))
            return w;
    return nullptr;
}

bool PanelKeyboard::park(QWidget* control)
{
    if (usable(control) || window_.focusWidget() != control)
        return false;
    parked_ = control;
    window_.setFocus(Qt::OtherFocusReason);
    return true;
}

void PanelKeyboard::unpark(QWidget* control)
{
    if (parked_ != control || !usable(control) || window_.focusWidget() != &window_)
        return;
    parked_ = nullptr;
    control->setFocus(Qt::OtherFocusReason);
}

void PanelKeyboard::settle(QWidget* activated)
{
    const QPointer<QWidget> parked = parked_;
    parked_ = nullptr;
    if (!activated)
        return;
    if (usable(activated)) {
        if (!activated->hasFocus() && (window_.focusWidget() == &window_ || parked == activated))
            activated->setFocus(Qt::OtherFocusReason);
        return;
    }
    QWidget* target = nullptr;
    const bool left_page = !activated->isVisibleTo(&window_);
    if (left_page && usable(opener_)) {
        target = opener_;  // back where the page was opened
        opener_ = nullptr;
    } else if (left_page && qobject_cast<PictureButton*>(activated)
               && static_cast<PictureButton*>(activated)->index() != buttons::back) {
        opener_ = activated;
    }
    if (!target)
        target = first_usable();
    if (target)
        target->setFocus(Qt::OtherFocusReason);
}

QWidget* PanelKeyboard::last_usable() const
{
    for (auto it = stops_.rbegin(); it != stops_.rend(); ++it)
        if (usable(*it))
            return *it;
    return nullptr;
}

// Escape is the return button of every page that has one. While the window
// itself holds the focus, Tab starts at the first control and Shift+Tab at
// the last (the toolkit's ring would start wherever the window sits in it).
bool PanelKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &window_)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Show) {
        // Back from the tray, the magnifier or a skin change: the keyboard
        // comes back with the window, unless another window of ours has it.
        // Asked once the window is on the screen.
        QMetaObject::invokeMethod(this, [this] { take_keyboard(&window_); }, Qt::QueuedConnection);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    PictureButton* back = p_.el.img_ico[buttons::back];
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && usable(back)) {
        if (!key->isAutoRepeat())
            back->press_and_release();
        return true;
    }
    const bool tab = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    const bool backtab = key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && key->modifiers() & Qt::ShiftModifier);
    if ((tab || backtab) && window_.focusWidget() == &window_) {
        if (QWidget* target = tab ? first_usable() : last_usable())
            target->setFocus(tab ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

void take_keyboard(QWidget* window)
{
    const QWidget* active = QApplication::activeWindow();
    if (window->isVisible() && (!active || !active->isVisible()))
        window->activateWindow();
}

bool park_focus(QWidget* control)
{
    PanelKeyboard* keyboard = PanelKeyboard::of(control);
    return keyboard && keyboard->park(control);
}

void unpark_focus(QWidget* control)
{
    if (PanelKeyboard* keyboard = PanelKeyboard::of(control))
        keyboard->unpark(control);
}

void settle_focus(QWidget* control)
{
    if (PanelKeyboard* keyboard = PanelKeyboard::of(control))
        keyboard->settle(control);
}

void make_panel_accessible(Panel& p, QWidget& window)
{
    for (PictureButton* b : p.el.img_ico)
        if (b)
            b->set_state_source(&p.st);
    if (p.el.img_connect)
        p.el.img_connect->set_state_source(&p.st);
    new PanelKeyboard(p, window);
}
