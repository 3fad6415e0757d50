#include "platform/compositor_move.h"

#include "platform/desktop.h"

#include <QWidget>
#include <QWindow>

bool compositor_move(QWidget& window, Desktop& desktop)
{
    if (!desktop.compositor_moves_windows())
        return false;
    QWindow* handle = window.windowHandle();
    return handle && handle->startSystemMove();
}
