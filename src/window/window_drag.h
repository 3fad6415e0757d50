#pragma once
// Dragging the frameless window by its background: the window follows the
// screen cursor, kept in twips as the offsets are. Where the compositor
// moves windows, the press hands the move to it instead (compositor_move).

#include <QPoint>
#include <optional>

class WindowDrag {
public:
    // Mouse down: remember where the window is relative to the cursor.
    void start(QPoint window_twips, QPoint cursor_px, int twips_x, int twips_y);
    // Mouse move: the window's new position in twips while dragging.
    std::optional<QPoint> position(QPoint cursor_px, int twips_x, int twips_y) const;
    // Mouse up.
    void end() { dragging_ = false; }
    bool dragging() const { return dragging_; }

private:
    bool dragging_ = false;
    QPoint offset_;  // twips
};
