#pragma once
// The panel's shared state: one instance, owned by the application and
// passed by reference, so every test can start from a fresh copy.

#include <QString>

struct SharedState {
    // pages and buttons
    int current_page = 99;
    int pressed_button = 99;
    int hover_button = 99;

    // layout: window width in twips / 4590
    float panel_scale = 1.0f;

    // kept in the settings file
    QString panel_skin = QStringLiteral("1");
    int com_port = 1;
    bool win_on_top = true;

    // link
    bool port_open = false;

    // the panel's copy of the box's settings
    int power_state = 0;
    int aspect_mode = 0;
    int scan_mode = 0;
    int output_yuv = 0;
    int freeze_state = 0;
    int tv_system = 0;
    int test_pattern = 0;
    int zoom_area = 1;
    int contrast_level = 0;
    int brightness_level = 0;
    int color_level = 0;
    int flicker_level = 0;
    int sharpness_level = 0;
    int firmware_version = 0;

    // window handling (shared by panel and magnifier, never dragging at once)
    bool dragging = false;
    int drag_offset_x = 0;
    int drag_offset_y = 0;
    bool tray_active = false;

    // an arrow whose "001" is being sent, and its release if it came meanwhile
    int arrow_in_press = 99;
    int arrow_release_waiting = 99;

    // magnifier view ratio, written by its layout
    float view_ratio = 0.2f;
};
