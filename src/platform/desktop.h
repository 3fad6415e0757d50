#pragma once
// What the windows need of the desktop: pointer, screen, twips, screen grab,
// notification area, and the kind of window system. Tests replace it with a
// fixed screen and pointer.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <functional>

// X11 lets a program place its windows and read where they are. On a Wayland
// desktop the compositor places and moves them: a native Wayland window never
// learns its place, and an XWayland window learns it but may be put
// elsewhere than it asked.
enum class WindowSystem { x11, xwayland, wayland };

// Why a screen grab gave no picture.
enum class CaptureProblem {
    unavailable,       // the desktop offers no way to capture the screen
    waiting_for_user,  // the desktop asks the user first (GNOME's dialog)
    unanswered,        // the desktop stopped waiting for the user's answer
    refused,           // the desktop, or the user, said no
    needs_entry,       // KDE Plasma grants capture by the program's desktop entry: none grants it
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Pointer position in screen pixels.
    virtual QPoint cursor_pos() = 0;
    // Size of the screen in pixels.
    virtual QSize screen_size() = 0;
    // 1440 / dots per inch: 15 on a 96-dpi screen.
    virtual int twips_per_pixel_x() = 0;
    virtual int twips_per_pixel_y() = 0;
    // The whole screen as it is now, screen_size() pixels. A null image when
    // the platform refuses (for example a Wayland session without permission).
    virtual QImage grab_screen() = 0;
    // Why the last grab_screen() gave a null image.
    virtual CaptureProblem capture_problem() { return CaptureProblem::unavailable; }
    // While the desktop waits for the user (capture_problem() is
    // waiting_for_user), `answered` is called once the user has answered,
    // or once the desktop has stopped waiting (capture_problem() is then
    // unanswered).
    virtual void when_capture_answered(std::function<void()> answered) { (void)answered; }
    // Whether the desktop has a notification area for a tray icon.
    virtual bool tray_available() = 0;
    virtual WindowSystem window_system() { return WindowSystem::x11; }

    // Screen size in twips.
    int screen_width_twips() { return screen_size().width() * twips_per_pixel_x(); }
    int screen_height_twips() { return screen_size().height() * twips_per_pixel_y(); }

    // Windows are moved by asking the compositor, not by setting a place.
    bool compositor_moves_windows() { return window_system() != WindowSystem::x11; }
    // The program learns where its windows and the pointer are on the screen.
    bool positions_known() { return window_system() != WindowSystem::wayland; }
    // A compositor always blends windows: outside a shape they can be clear.
    bool translucent_windows() { return window_system() != WindowSystem::x11; }
};
