#pragma once
// A value label of an option line (lab_opt). Its bold attribute says whether
// it is the chosen value; a click reports its index. On a dark skin its text
// gets a light halo so black and red stay readable. To the keyboard and to
// assistive technology it is a radio button: Space or Enter chooses it, the
// arrows go to the other value of its line.

#include "widgets/skinned_control.h"

#include <QLabel>

class OptionLabel : public PressableControl<QLabel> {
    Q_OBJECT
public:
    OptionLabel(int index, QWidget* parent);
    int index() const { return index_; }
    bool chosen() const { return font().bold(); }
    void set_halo(bool on);
    bool halo() const { return halo_; }

signals:
    void clicked(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paint_face(QPaintEvent* event) override;
    QRect focus_mark_rect() const override;
    void key_released() override;
    void activate() override { choose(); }

private:
    void choose();
    OptionLabel* partner() const;

    int index_;
    bool halo_ = false;
    bool pressed_ = false;
};
