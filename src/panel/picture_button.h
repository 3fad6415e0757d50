#pragma once
// A button that is only a picture. It remembers the name of the picture it
// shows, so tests and the debugger can read it, and reports pointer moves,
// presses and releases with its index.

#include <QLabel>

class PictureStore;

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

signals:
    void pointer_moved(int index);
    void pressed(int index, Qt::MouseButton button);
    void released(int index, Qt::MouseButton button);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int index_;
    PictureStore& pictures_;
    QString picture_name_;
    int loads_ = 0;
};
