#include "widgets/option_label.h"

#include "widgets/control_accessible.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainterPath>
#include <QPointer>

OptionLabel::OptionLabel(int index, QWidget* parent) : PressableControl(parent), index_(index)
{
    install_control_accessibility();
}

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

void OptionLabel::choose()
{
    QPointer<OptionLabel> self(this);
    emit clicked(index_);
    if (self)
        control_event::announce(self, control_event::activated());
}

OptionLabel* OptionLabel::partner() const
{
    for (OptionLabel* other : parentWidget()->findChildren<OptionLabel*>(QString(), Qt::FindDirectChildrenOnly))
        if (other->index() == (index_ ^ 1))
            return other;
    return nullptr;
}

void OptionLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QLabel::keyPressEvent(event);
        return;
    }
    // The two values of a line: the first on the left, the second on the right.
    const bool to_second = key == Qt::Key_Right || key == Qt::Key_Down;
    const bool to_first = key == Qt::Key_Left || key == Qt::Key_Up;
    if (to_second || to_first) {
        event->accept();
        OptionLabel* other = partner();
        if (other && other->isVisible() && (index_ % 2 == 0) == to_second)
            other->setFocus(Qt::OtherFocusReason);
        return;
    }
    PressableControl::keyPressEvent(event);
}

// Chosen when the key is let go, as a click is when the button is.
void OptionLabel::key_released()
{
    choose();
}

// The bold attribute is the choice: tell assistive technology when it moves.
void OptionLabel::changeEvent(QEvent* event)
{
    PressableControl::changeEvent(event);
    if (event->type() == QEvent::FontChange && QAccessible::isActive()) {
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent state(this, changed);
        QAccessible::updateAccessibility(&state);
    }
}

void OptionLabel::paint_face(QPaintEvent* event)
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

// Around the text, not the whole label, which is wider than its value, and
// as high as the label so it clears the letters.
QRect OptionLabel::focus_mark_rect() const
{
    const QRect text = QFontMetrics(font()).boundingRect(contentsRect(), int(alignment()), this->text());
    return QRect(text.left() - 5, -2, text.width() + 10, height() + 4);
}
