#pragma once
// Dragging the frameless window by its background: the window follows the
// screen cursor, kept in twips as the offsets are. Where the compositor
// moves windows, the press hands the move to it instead (compositor_move).

#include <QPoint>
#include <optional>

struct SharedState;

// Mouse down: remember where the window is relative to the cursor.
void drag_start(SharedState& st, QPoint window_twips, QPoint cursor_px, int twips_x, int twips_y);

// Mouse move: the window's new position in twips while dragging.
std::optional<QPoint> drag_position(const SharedState& st, QPoint cursor_px, int twips_x, int twips_y);

// Mouse up.
void drag_end(SharedState& st);
