#include "window/panel_placement.h"

void PanelPlacement::placed(std::optional<QPoint> stored, QPoint requested)
{
    stored_ = stored;
    requested_ = requested;
    before_first_move_.reset();
}

void PanelPlacement::user_moves(QPoint now)
{
    if (!before_first_move_)
        before_first_move_ = now;
}

QPoint PanelPlacement::to_save(QPoint now) const
{
    switch (system_) {
    case WindowSystem::x11:
        return now;
    case WindowSystem::wayland:
        return stored_.value_or(requested_);
    case WindowSystem::xwayland:
        break;
    }
    // Where the compositor honoured the place asked for, it places windows
    // as X11 does; a user's move is then as real as on X11.
    if (honoured(before_first_move_.value_or(now)) || !stored_)
        return now;
    return *stored_;
}
