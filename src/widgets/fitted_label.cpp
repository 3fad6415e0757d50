#include "widgets/fitted_label.h"

#include <QPainter>

void FittedLabel::paintEvent(QPaintEvent* event)
{
    const int needed = fontMetrics().horizontalAdvance(text());
    if (needed <= width() || needed == 0) {
        QLabel::paintEvent(event);
        return;
    }
    QFont narrow = font();
    narrow.setStretch(std::max(55, 100 * width() / needed));
    QPainter painter(this);
    painter.setFont(narrow);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), static_cast<int>(alignment()) | Qt::TextSingleLine, text());
}
