#pragma once
// The panel window's elements, as the panel's routines reach them. The window
// creates them; the routines of src/panel only change them.

#include <array>

class PictureButton;
class MessageLine;
class OptionLabel;
class QLabel;
class QScrollBar;

struct PanelElements {
    std::array<PictureButton*, 39> img_ico{};  // nullptr at 4 and 5
    PictureButton* img_connect = nullptr;
    QLabel* pic_win = nullptr;
    QLabel* lab_panel = nullptr;
    MessageLine* lab_msg = nullptr;
    std::array<QLabel*, 4> lab_text{};
    std::array<OptionLabel*, 8> lab_opt{};
    std::array<QScrollBar*, 4> hsr_video{};
};
