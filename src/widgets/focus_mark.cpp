#include "widgets/focus_mark.h"

#include <QPainter>
#include <QPen>
#include <QRect>

void paint_focus_mark(QPainter& painter, const QRect& control)
{
    // Inside the picture's own border where there is room; one pixel wide,
    // so it clears the lettering of the buttons.
    const int inset = control.width() > 12 && control.height() > 12 ? 2 : 0;
    const QRect frame = control.adjusted(inset, inset, -inset - 1, -inset - 1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(27, 18, 8), 1));
    painter.drawRect(frame);
    QPen light(QColor(255, 243, 196), 1);
    light.setDashPattern({2, 2});
    painter.setPen(light);
    painter.drawRect(frame);
    painter.restore();
}
