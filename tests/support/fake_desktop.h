#pragma once
// A fixed screen and pointer for window tests; each grab notes whether the `watched` window was on screen.

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
    CaptureProblem capture_problem() override { return problem; }
    void when_capture_answered(std::function<void()> answered) override { waiting.push_back(std::move(answered)); }
    // The user answers the desktop's question: whoever waits is told.
    void answer(CaptureProblem now)
    {
        problem = now;
        const auto told = std::move(waiting);
        waiting.clear();
        for (const auto& f : told)
            f();
    }
    bool tray_available() override { return tray; }
    WindowSystem window_system() override { return system; }

    QPoint cursor{100, 100};
    QSize screen{1024, 768};
    QImage screen_image;   // null: the platform refuses to capture
    CaptureProblem problem = CaptureProblem::unavailable;
    std::vector<std::function<void()>> waiting;
    bool tray = true;
    WindowSystem system = WindowSystem::x11;
    int grabs = 0;
    QWidget* watched = nullptr;
    std::vector<bool> visible_at_grab;
};
