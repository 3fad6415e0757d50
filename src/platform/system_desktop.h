#pragma once
#include "platform/desktop.h"

#include <memory>
#include <vector>

class QObject;

// The real desktop: the primary screen, QCursor, QSystemTrayIcon, and where
// a direct grab is refused, KWin's screenshot interface or the desktop's
// screenshot portal.
class SystemDesktop : public Desktop {
public:
    SystemDesktop();
    ~SystemDesktop() override;

    QPoint cursor_pos() override;
    QSize screen_size() override;
    int twips_per_pixel_x() override;
    int twips_per_pixel_y() override;
    QImage grab_screen() override;
    CaptureProblem capture_problem() override { return problem_; }
    void when_capture_answered(std::function<void()> answered) override;
    bool tray_available() override;
    WindowSystem window_system() override;

private:
    QImage desktop_picture();
    void portal_answered();
    void question_lost();
    void tell_waiting();

    CaptureProblem problem_ = CaptureProblem::unavailable;
    // A portal request the user has not answered yet.
    std::unique_ptr<QObject> pending_;  // a PortalScreenshot
    std::vector<std::function<void()>> answered_;
};

// A grab that is entirely one colour and black, or empty, is what platforms
// that refuse screen capture hand back.
bool looks_like_refused_grab(const QImage& image);
