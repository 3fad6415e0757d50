#pragma once
// One enlarged half of the snapshot. It only paints the picture it holds:
// moving it copies no pixels of ours.

#include <QPixmap>
#include <QWidget>

class HalfPicture : public QWidget {
public:
    explicit HalfPicture(QWidget* parent = nullptr);

    void set_picture(QPixmap picture);
    const QPixmap& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};
