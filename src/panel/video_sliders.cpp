#include "panel/video_sliders.h"

#include "core/shared_state.h"
#include "panel/panel.h"
#include "link/device_link.h"
#include "panel/panel_elements.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <array>

namespace {
constexpr std::array<SliderTraits, 4> kSliders = {{
    {"CON", 0, 63, 1, 10},
    {"BRI", 0, 255, 2, 40},
    {"SAT", 0, 63, 1, 10},
    {"FLK", 21, 0, 1, 3},
}};
}  // namespace

const SliderTraits* slider_traits(int i)
{
    return i >= 0 && i < 4 ? &kSliders[i] : nullptr;
}

int& slider_mirror(SharedState& st, int i)
{
    switch (i) {
    case 0: return st.contrast_level;
    case 1: return st.brightness_level;
    case 2: return st.color_level;
    default: return st.flicker_level;
    }
}

void set_slider_from_box(Panel& p, int i, int level)
{
    const SliderTraits* traits = slider_traits(i);
    if (!traits)
        return;
    slider_mirror(p.st, i) = level;
    const int low = std::min(traits->left_value, traits->right_value);
    const int high = std::max(traits->left_value, traits->right_value);
    if (level < low || level > high)
        return;
    p.el.hsr_video[i]->setValue(level);
}

void reset_sliders(Panel& p)
{
    for (int i = 0; i < static_cast<int>(kSliders.size()); ++i) {
        const QSignalBlocker quiet(p.el.hsr_video[i]);
        p.el.hsr_video[i]->setValue(kSliders[i].left_value);
    }
}

namespace {

// True when `v` was new for slider i and has been sent.
bool send_if_new(Panel& p, int i, int v)
{
    const SliderTraits* traits = slider_traits(i);
    int& mirror = slider_mirror(p.st, i);
    if (v == mirror)
        return false;
    mirror = v;
    QString cmd = QString::fromLatin1(traits->command);
    p.link.tx_val2str(cmd, mirror);
    return true;
}

}  // namespace

void hsr_video_Change(Panel& p, int i)
{
    const RoutineScope routine(p.link.routines());
    if (slider_traits(i))
        send_if_new(p, i, p.el.hsr_video[i]->value());
}

void hsr_video_Scroll(Panel& p, int i)
{
    const RoutineScope routine(p.link.routines());
    // While the thumb moves, its position is the slider's current value.
    if (slider_traits(i) && !send_if_new(p, i, p.el.hsr_video[i]->sliderPosition()))
        return;
    p.link.wait_secs(0.05);
}
