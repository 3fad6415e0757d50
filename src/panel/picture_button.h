#pragma once
// A button that is only a picture. It remembers the name of the picture it
// shows, so tests and the debugger can read it, and reports pointer moves,
// presses and releases with its index. The keyboard (Space or Enter held
// down) and assistive technology press and release it the same way.

#include "platform/key_hold.h"

#include <QLabel>

class PictureStore;
struct SharedState;

// A label that paints its picture as drawn, pixel for pixel. On a screen
// scaled by 2 each picture pixel becomes a 2 x 2 block; a plain QLabel
// would resample the picture smoothly and blur the panel's artwork.
class SharpPicture : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class PictureButton : public SharpPicture {
    Q_OBJECT
public:
    PictureButton(int index, PictureStore& pictures, QWidget* parent);

    int index() const { return index_; }
    // Loads the named picture; the button takes the picture's size.
    void set_picture(const QString& name);
    const QString& picture_name() const { return picture_name_; }
    // How many times a picture was set: a redraw that should not happen shows here.
    int picture_loads() const { return loads_; }

    // The state the button's name and description are read from.
    void set_state_source(const SharedState* st) { state_ = st; }
    const SharedState* state_source() const { return state_; }

    // A press and a release, as a click makes them; then the keyboard focus
    // finds its place on the page the button leads to.
    void press_and_release();
    // The same from the event loop, as assistive technology asks for it.
    void activate_later();

signals:
    void pointer_moved(int index);
    void pressed(int index, Qt::MouseButton button);
    void released(int index, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent* event) override;

private:
    void end_key_hold();

    int index_;
    PictureStore& pictures_;
    const SharedState* state_ = nullptr;
    QString picture_name_;
    int loads_ = 0;
    KeyHold key_hold_;  // Space or Enter while it holds the button down
};
