#pragma once
// The panel's shared state: one instance, owned by the application and
// passed by reference, so every test can start from a fresh copy. It is the
// box's mirror and the panel's settings, with the page on show and whether
// the port is open; a window's own scratch stays with that window.

#include "core/box_mirror.h"
#include "core/panel_settings.h"

struct SharedState : BoxMirror, PanelSettings {
    int current_page = 99;   // the page on show (see pages:: of the panel)
    int hover_button = 99;   // the button under the pointer, 99 none

    // layout: window width in twips / 4590
    float panel_scale = 1.0f;

    // link
    bool port_open = false;
};
