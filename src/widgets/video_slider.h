#pragma once
// A video slider (hsr_video) that the keyboard can work: the arrows, Page Up
// and Page Down move the thumb by its small and large steps, Home and End to
// the ends. Right always moves the thumb to the right, also on a slider
// whose value runs the other way (inverted appearance).

#include "widgets/skinned_control.h"

#include <QScrollBar>

class VideoSlider : public SkinnedControl<QScrollBar> {
    Q_OBJECT
public:
    VideoSlider(int index, QWidget* parent);
    int index() const { return index_; }

    // Where the thumb stands, counted from the left end, and its span.
    int thumb_position() const;
    int thumb_span() const;
    // Moves the thumb `steps` small (or large) steps; negative is to the left.
    void step_thumb(int steps, bool large = false);
    void set_thumb_position(int position);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int index_;
};
