#pragma once
// An image button of the magnifier's strip. It remembers the name of the
// picture it shows; when the picture is missing it draws a plain button of
// the picture's size with its tooltip text, so the strip stays usable.
// Space or Enter clicks it as the mouse does; to assistive technology it is
// a push button, checkable for the toggles.

#include "widgets/skinned_control.h"

#include <QPixmap>
#include <QWidget>

class PictureStore;

class StripButton : public PressableControl<QWidget> {
    Q_OBJECT
public:
    StripButton(PictureStore& pictures, QSize picture_size, const QString& tooltip,
                QWidget* parent = nullptr);

    void show_picture(const QString& name);
    QString picture_name() const { return name_; }
    // How many times a picture was put on the button (0 until the first).
    int picture_loads() const { return loads_; }

    // A toggle shows its chosen state by its "_1" picture.
    void set_toggle(bool on) { toggle_ = on; }
    bool toggle() const { return toggle_; }
    bool chosen() const { return toggle_ && name_.endsWith(QLatin1String("_1")); }


signals:
    // Left button pressed and released over the button.
    void clicked();

protected:
    void paint_face(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The key goes down and comes up on the button: a click. Other keys (the
    // arrows, Escape) go on to the window.
    void key_released() override { emit clicked(); }
    void activate() override { emit clicked(); }

private:
    PictureStore& pictures_;
    QString name_;
    QPixmap pixmap_;
    int loads_ = 0;
    bool pressed_ = false;
    bool toggle_ = false;
};
