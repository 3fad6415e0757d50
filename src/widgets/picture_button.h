#pragma once
// A button that is only a picture. It remembers the name of the picture it
// shows, so tests and the debugger can read it, and reports pointer moves,
// presses and releases with its index. The keyboard (Space or Enter held
// down) and assistive technology press and release it the same way.

#include "widgets/control_description.h"
#include "widgets/sharp_picture.h"
#include "widgets/skinned_control.h"

#include <functional>

class PictureStore;

class PictureButton : public PressableControl<SharpPicture> {
    Q_OBJECT
public:
    // A negative index: a picture that shows a state and is no button.
    PictureButton(int index, PictureStore& pictures, QWidget* parent);

    int index() const { return index_; }
    // Loads the named picture; the button takes the picture's size.
    void set_picture(const QString& name);
    const QString& picture_name() const { return picture_name_; }
    // How many times a picture was set: a redraw that should not happen shows here.
    int picture_loads() const { return loads_; }

    // What assistive technology hears of it, asked when it asks.
    void set_describer(std::function<ControlDescription()> describer) { describer_ = std::move(describer); }
    ControlDescription describe() const { return describer_ ? describer_() : ControlDescription{}; }

    // A press and a release, as a click makes them; then whoever watches
    // hears of the activation.
    void press_and_release();

signals:
    void pointer_moved(int index);
    void pressed(int index, Qt::MouseButton button);
    void released(int index, Qt::MouseButton button);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void key_pressed() override;
    void key_released() override;
    void key_hold_lost() override;
    void activate() override { press_and_release(); }

private:
    int index_;
    PictureStore& pictures_;
    std::function<ControlDescription()> describer_;
    QString picture_name_;
    int loads_ = 0;
};
