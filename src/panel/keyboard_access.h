#pragma once
// The panel to the keyboard: every button, option value and slider of the
// page on show in reading order for Tab and Shift+Tab, Escape as the page's
// return button, and a focus that stays where the user expects it while
// pages change under it.
//
// It watches the controls (an event filter): one that is hidden or disabled
// while it has the focus (a page changes, power and the mode buttons are
// locked during an exchange) has the focus parked on the window instead of
// letting it wander to the next control, which would show that control's
// caption. After a keyboard or assistive activation the focus settles: on
// the control again when it can take it, back on the button that opened a
// page when the page is left, otherwise on the first control of the new
// page.

#include <QObject>
#include <QPointer>
#include <vector>

class QFocusEvent;
class QWidget;
struct Panel;

class PanelKeyboard : public QObject {
    Q_OBJECT
public:
    PanelKeyboard(Panel& p, QWidget& window);

    // The focusable controls in reading order.
    const std::vector<QWidget*>& stops() const { return stops_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool park(QWidget* control);
    void unpark(QWidget* control);
    void settle(QWidget* activated);
    bool window_event(QEvent* event);
    bool focus_arrives(QWidget* control, const QFocusEvent* event);
    bool usable(const QWidget* w) const;
    QWidget* first_usable() const;
    QWidget* last_usable() const;

    Panel& p_;
    QWidget& window_;
    std::vector<QWidget*> stops_;
    QPointer<QWidget> parked_;
    QPointer<QWidget> opener_;  // the main-page button whose page is on show
    QPointer<QWidget> chosen_;  // the control the user's keys (or ours) put the focus on last
};

// A window of ours that shows takes the keyboard when no other window of
// ours has it.
void take_keyboard(QWidget* window);

// Keyboard and accessibility for the panel window: focus order, the return
// key, names and states of the buttons for assistive technology.
void make_panel_accessible(Panel& p, QWidget& window);
