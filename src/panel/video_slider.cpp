#include "panel/video_slider.h"

#include "panel/keyboard_access.h"
#include "panel/panel_accessible.h"
#include "panel/video_sliders.h"

#include "platform/focus_mark.h"

#include <QKeyEvent>
#include <QPainter>

VideoSlider::VideoSlider(int index, QWidget* parent) : QScrollBar(Qt::Horizontal, parent), index_(index)
{
    setObjectName(QStringLiteral("hsr_video_%1").arg(index));
    install_panel_accessibility();  // before the toolkit first asks about it
}

int VideoSlider::thumb_position() const
{
    const SliderTraits* traits = slider_traits(index_);
    return traits ? ::thumb_position(*traits, value()) : value();
}

int VideoSlider::thumb_span() const
{
    const SliderTraits* traits = slider_traits(index_);
    return traits ? ::thumb_span(*traits) : maximum() - minimum();
}

void VideoSlider::set_thumb_position(int position)
{
    if (const SliderTraits* traits = slider_traits(index_))
        setValue(value_at_position(*traits, position));
}

void VideoSlider::step_thumb(int steps, bool large)
{
    set_thumb_position(thumb_position() + steps * (large ? pageStep() : singleStep()));
}

// Each key is one change of value, sent at once as any change is.
void VideoSlider::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up: step_thumb(1); break;
    case Qt::Key_Left:
    case Qt::Key_Down: step_thumb(-1); break;
    case Qt::Key_PageUp: step_thumb(1, true); break;
    case Qt::Key_PageDown: step_thumb(-1, true); break;
    case Qt::Key_Home: set_thumb_position(0); break;
    case Qt::Key_End: set_thumb_position(thumb_span()); break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool VideoSlider::focusNextPrevChild(bool next)
{
    return park_focus(this) || QScrollBar::focusNextPrevChild(next);
}

void VideoSlider::changeEvent(QEvent* event)
{
    QScrollBar::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled())
        unpark_focus(this);
}

void VideoSlider::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        paint_focus_mark(painter, rect());
    }
}

void VideoSlider::focusInEvent(QFocusEvent* event)
{
    QScrollBar::focusInEvent(event);
    update();
}

void VideoSlider::focusOutEvent(QFocusEvent* event)
{
    QScrollBar::focusOutEvent(event);
    update();
}
