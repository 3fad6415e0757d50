#pragma once
// Which place of the panel window the settings file keeps. On X11 the window
// is where the program put it or the user dragged it. A native Wayland
// window never learns its place; an XWayland window learns it, but the
// compositor may have put it elsewhere than asked. There the place read at
// start-up is kept, so a session on such a desktop never overwrites it with
// a value the user did not choose.

#include "platform/desktop.h"

#include <QPoint>
#include <optional>

class PanelPlacement {
public:
    explicit PanelPlacement(WindowSystem system = WindowSystem::x11) : system_(system) {}

    // Start-up: the place read from the file (none when it had none) and the
    // place the window was asked to take, in twips.
    void placed(std::optional<QPoint> stored, QPoint requested);
    // The user starts to move the window; `now` is where it is, in twips.
    void user_moves(QPoint now);
    // What shut-down writes, with the window now at `now` (twips).
    QPoint to_save(QPoint now) const;

private:
    // The compositor put the window where start-up asked.
    bool honoured(QPoint first_seen) const { return first_seen == requested_; }

    WindowSystem system_;
    std::optional<QPoint> stored_;
    QPoint requested_;
    std::optional<QPoint> before_first_move_;
};
