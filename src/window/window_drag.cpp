#include "window/window_drag.h"

#include "core/shared_state.h"

void drag_start(SharedState& st, QPoint window_twips, QPoint cursor_px, int twips_x, int twips_y)
{
    st.drag_offset_y = window_twips.y() - twips_y * cursor_px.y();
    st.drag_offset_x = window_twips.x() - twips_x * cursor_px.x();
    st.dragging = true;
}

std::optional<QPoint> drag_position(const SharedState& st, QPoint cursor_px, int twips_x, int twips_y)
{
    if (!st.dragging)
        return std::nullopt;
    return QPoint(twips_x * cursor_px.x() + st.drag_offset_x, twips_y * cursor_px.y() + st.drag_offset_y);
}

void drag_end(SharedState& st)
{
    st.dragging = false;
}
