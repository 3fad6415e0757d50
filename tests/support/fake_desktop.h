#pragma once
// A fixed screen and pointer for window tests; each grab notes whether the
// `watched` window was on screen.

#include "platform/desktop.h"

#include <QWidget>
#include <vector>

class FakeDesktop : public Desktop {
public:
    QPoint cursor_pos() override { return cursor; }
    QSize screen_size() override { return screen; }
    int twips_per_pixel_x() override { return 15; }
    int twips_per_pixel_y() override { return 15; }
    QImage grab_screen() override
    {
        ++grabs;
        if (watched)
            visible_at_grab.push_back(watched->isVisible());
        return screen_image;
    }
    bool tray_available() override { return tray; }
    WindowSystem window_system() override { return system; }

    QPoint cursor{100, 100};
    QSize screen{1024, 768};
    QImage screen_image;   // null: the platform refuses to capture
    bool tray = true;
    WindowSystem system = WindowSystem::x11;
    int grabs = 0;
    QWidget* watched = nullptr;
    std::vector<bool> visible_at_grab;
};
