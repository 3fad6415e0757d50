#pragma once
#include "platform/desktop.h"

// The real desktop: the primary screen, QCursor, QSystemTrayIcon, and the
// desktop's screenshot portal where a direct grab is refused.
class SystemDesktop : public Desktop {
public:
    QPoint cursor_pos() override;
    QSize screen_size() override;
    int twips_per_pixel_x() override;
    int twips_per_pixel_y() override;
    QImage grab_screen() override;
    bool tray_available() override;
    WindowSystem window_system() override;
};

// A grab that is entirely one colour and black, or empty, is what platforms
// that refuse screen capture hand back.
bool looks_like_refused_grab(const QImage& image);
