#pragma once
// A label that paints its picture as drawn, pixel for pixel. On a screen
// scaled by 2 each picture pixel becomes a 2 x 2 block; a plain QLabel
// would resample the picture smoothly and blur the panel's artwork.

#include <QLabel>

class SharpPicture : public QLabel {
    Q_OBJECT
public:
    explicit SharpPicture(QWidget* parent = nullptr) : QLabel(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};
