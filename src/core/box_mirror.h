#pragma once
// The panel's copy of the box's settings: written from the box's replies and
// messages and by the buttons that change them. Its start values are what
// the panel shows before it has heard from a box.

struct BoxMirror {
    int power_state = 0;   // 0 off, 1 on
    int aspect_mode = 0;   // 0 full, 1 pan and scan, 2 letterbox
    int scan_mode = 0;     // 0 underscan, 1 overscan
    int output_yuv = 0;    // 0 CV/SV, 1 YPbPr
    int freeze_state = 0;  // 0 live, 1 frozen
    int tv_system = 0;     // 0 NTSC, 1 PAL
    int test_pattern = 0;  // 1 on
    int zoom_area = 1;     // 1 to 9
    int contrast_level = 0;
    int brightness_level = 0;
    int color_level = 0;
    int flicker_level = 0;
    int sharpness_level = 0;
    int firmware_version = 0;
};
