#pragma once
// The four video sliders: contrast, brightness, colour and flicker.

#include <QString>

struct Panel;
struct SharedState;

struct SliderTraits {
    const char* command;   // "CON", "BRI", "SAT", "FLK"
    int left_value;        // value at the left end
    int right_value;       // value at the right end (slider 3 runs backwards)
    int small_step;
    int large_step;
};

// Slider i (0..3), or nullptr outside.
const SliderTraits* slider_traits(int i);

// The mirror of slider i: the last level known for its command.
int& slider_mirror(SharedState& st, int i);

// A level reported by the box: the mirror takes it first, then the slider
// moves, so the slider's own change handling sends nothing back. A level
// outside the slider's range is stored but leaves the slider where it is.
void set_slider_from_box(Panel& p, int i, int level);

// Every slider back where the window made it (its left end), sending nothing.
void reset_sliders(Panel& p);

// The slider's value changed (click, key, end of a drag, or set by the
// program): send it once when it differs from the mirror.
void hsr_video_Change(Panel& p, int i);
// The thumb is being dragged: send each new value, then pause 0.05 s with
// the window alive.
void hsr_video_Scroll(Panel& p, int i);
