#pragma once
// What the windows need of the desktop: pointer, screen, twips, screen grab,
// notification area. Tests replace it with a fixed screen and pointer.

#include <QImage>
#include <QPoint>
#include <QSize>

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
    // Whether the desktop has a notification area for a tray icon.
    virtual bool tray_available() = 0;

    // Screen size in twips.
    int screen_width_twips() { return screen_size().width() * twips_per_pixel_x(); }
    int screen_height_twips() { return screen_size().height() * twips_per_pixel_y(); }
};
