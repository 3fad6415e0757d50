#include "widgets/sharp_picture.h"

#include <QPainter>

// Also keeps a disabled button's picture as drawn: the selected tab's
// picture must not be greyed out.
void SharpPicture::paintEvent(QPaintEvent*)
{
    const QPixmap shown = pixmap();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawPixmap(0, 0, shown);
}
