#include "panel/picture_button.h"

#include "platform/picture_store.h"

#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(int index, PictureStore& pictures, QWidget* parent)
    : SharpPicture(parent), index_(index), pictures_(pictures)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
}

void PictureButton::set_picture(const QString& name)
{
    ++loads_;
    picture_name_ = name;
    const QPixmap pixmap = pictures_.pixmap(name);
    if (pixmap.isNull()) {
        // A missing picture keeps the place and size; the name still says
        // what the button stands for.
        setPixmap(QPixmap());
        setToolTip(name);
        return;
    }
    setPixmap(pixmap);
    resize(pixmap.size());
}

void PictureButton::mouseMoveEvent(QMouseEvent* event)
{
    emit pointer_moved(index_);
    event->accept();
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    emit pressed(index_, event->button());
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(index_, event->button());
    event->accept();
}

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
