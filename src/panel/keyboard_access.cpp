#include "panel/keyboard_access.h"

#include "core/shared_state.h"
#include "panel/accessible_names.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "widgets/option_label.h"
#include "widgets/control_events.h"
#include "widgets/picture_button.h"
#include "widgets/video_slider.h"

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
        w->installEventFilter(this);
        if (!stops_.empty())
            QWidget::setTabOrder(stops_.back(), w);
        stops_.push_back(w);
    }
    // No control has the focus until the user asks for one, so the mouse
    // sees the panel exactly as before.
    window.setFocus(Qt::OtherFocusReason);
    window.installEventFilter(this);
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

bool PanelKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_)
        return window_event(event);
    auto* control = static_cast<QWidget*>(watched);
    const QEvent::Type type = event->type();
    if (type == control_event::lost_place()) {
        event->setAccepted(park(control));
        return true;
    }
    if (type == control_event::activated()) {
        settle(control);
        return true;
    }
    if (type == QEvent::EnabledChange && control->isEnabled())
        unpark(control);
    if (type == QEvent::FocusIn)
        return focus_arrives(control, static_cast<QFocusEvent*>(event));
    return false;
}

// A window that comes back active with no control of its own in mind (the
// desktop activated it after the magnifier or the tray) gets its focus on
// the first control from the toolkit, whose mark then shows though no key
// was pressed. Only the control the keys chose last may come back so; any
// other gives the focus back to the window.
bool PanelKeyboard::focus_arrives(QWidget* control, const QFocusEvent* event)
{
    if (event->reason() != Qt::ActiveWindowFocusReason) {
        chosen_ = control;
        return false;
    }
    if (control == chosen_)
        return false;
    window_.setFocus(Qt::OtherFocusReason);
    return true;
}

// Escape is the return button of every page that has one. While the window
// itself holds the focus, Tab starts at the first control and Shift+Tab at
// the last (the toolkit's ring would start wherever the window sits in it).
bool PanelKeyboard::window_event(QEvent* event)
{
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

// What assistive technology hears comes from the panel's tables, read
// when it asks, so it follows the state.
void make_panel_accessible(Panel& p, QWidget& window)
{
    const SharedState& st = p.st;
    for (PictureButton* b : p.el.img_ico) {
        if (!b)
            continue;
        const int ind = b->index();
        b->set_describer([&st, ind] {
            return ControlDescription{access::button_name(ind, st), access::button_description(ind, st),
                                      access::button_checked(ind, st)};
        });
    }
    if (PictureButton* indicator = p.el.img_connect) {
        indicator->set_describer([indicator] {
            const bool on = indicator->picture_name().contains(QLatin1String("_connect_on_"));
            return ControlDescription{access::connection_name(), access::connection_description(on), std::nullopt};
        });
    }
    for (int i = 0; i < static_cast<int>(p.el.lab_opt.size()); ++i)
        p.el.lab_opt[i]->setAccessibleName(access::option_name(i));
    for (int i = 0; i < static_cast<int>(p.el.hsr_video.size()); ++i)
        p.el.hsr_video[i]->setAccessibleName(access::slider_name(i));
    new PanelKeyboard(p, window);
}
