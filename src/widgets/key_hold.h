#pragma once
// Space, Return or Enter held on a skinned control: one press when the key
// goes down, one release when it comes up for good. Auto-repeat is neither,
// and a second activation key while one is held is ignored.
//
// On X11 the server repeats a held key as release and press pairs. Qt marks
// them as auto-repeat only while the event loop keeps up; a loop that was
// busy (an exchange with the box) gets them as real ones. So where repeats
// come that way, a release counts only once no press of its key follows
// within a short grace: a press that follows is the same hold.

#include <QObject>
#include <QTimer>

class QKeyEvent;

class KeyHold : public QObject {
    Q_OBJECT
public:
    enum class Step {
        NotMine,  // not an activation key: the widget passes it on
        Nothing,  // taken, but nothing happens (a repeat, a second key)
        Press,    // the hold began
    };

    // The grace of the platform in use: X11 repeats held keys as pairs.
    explicit KeyHold(QObject* parent = nullptr);

    Step key_down(const QKeyEvent* event);
    // False when it is no activation key (the widget passes it on). The
    // hold's end comes as released(), at once or after the grace.
    bool key_up(const QKeyEvent* event);
    bool held() const { return key_ != 0; }
    // The focus left while the key was down: the hold ends here, without
    // released().
    void drop();

    // How long a release waits for a press of its key; 0 ends holds at once.
    void set_repeat_grace_ms(int ms) { grace_ms_ = ms; }
    int repeat_grace_ms() const { return grace_ms_; }

signals:
    // The key came up for good.
    void released();

private:
    void end_hold();

    int key_ = 0;
    quint64 pressed_at_ = 0;    // when the hold began, in the server's time
    int grace_ms_ = 0;
    int released_key_ = 0;      // the key of the last release, and when the
    quint64 released_at_ = 0;   // server sent it (a repeated pair shares it)
    QTimer pending_release_;
};
