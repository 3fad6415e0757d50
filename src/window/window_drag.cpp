#include "window/window_drag.h"

void WindowDrag::start(QPoint window_twips, QPoint cursor_px, int twips_x, int twips_y)
{
    offset_ = QPoint(window_twips.x() - twips_x * cursor_px.x(), window_twips.y() - twips_y * cursor_px.y());
    dragging_ = true;
}

std::optional<QPoint> WindowDrag::position(QPoint cursor_px, int twips_x, int twips_y) const
{
    if (!dragging_)
        return std::nullopt;
    return QPoint(twips_x * cursor_px.x() + offset_.x(), twips_y * cursor_px.y() + offset_.y());
}
