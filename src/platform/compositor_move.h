#pragma once
// Moving a frameless window on a desktop whose compositor moves windows
// (Wayland, XWayland): the program asks it to follow the pointer from the
// press on, since setting a place is ignored there.

class Desktop;
class QWidget;

// True when the compositor took over the move; false on X11, where the
// program moves the window itself, or when the compositor declines.
bool compositor_move(QWidget& window, Desktop& desktop);
