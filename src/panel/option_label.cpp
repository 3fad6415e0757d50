#include "panel/option_label.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

OptionLabel::OptionLabel(int index, QWidget* parent) : QLabel(parent), index_(index) {}

void OptionLabel::set_halo(bool on)
{
    halo_ = on;
    update();
}

void OptionLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = true;
    event->accept();
}

// A click is a press and a release on the label.
void OptionLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked(index_);
}

void OptionLabel::paintEvent(QPaintEvent* event)
{
    if (!halo_) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect box = contentsRect();
    const QFontMetrics fm(font());
    const int x = box.left();
    const int y = box.top() + (box.height() - fm.height()) / 2 + fm.ascent();
    QPainterPath path;
    path.addText(x, y, font(), text());
    painter.setPen(QPen(QColor(255, 255, 255, 200), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::WindowText));
    painter.drawPath(path);
}
