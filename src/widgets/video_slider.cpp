#include "widgets/video_slider.h"

#include "widgets/control_accessible.h"

#include <algorithm>

VideoSlider::VideoSlider(int index, QWidget* parent) : SkinnedControl(Qt::Horizontal, parent), index_(index)
{
    setObjectName(QStringLiteral("hsr_video_%1").arg(index));
    install_control_accessibility();  // before the toolkit first asks about it
}

int VideoSlider::thumb_position() const
{
    return invertedAppearance() ? maximum() - value() : value() - minimum();
}

int VideoSlider::thumb_span() const
{
    return maximum() - minimum();
}

void VideoSlider::set_thumb_position(int position)
{
    const int pos = std::clamp(position, 0, thumb_span());
    setValue(invertedAppearance() ? maximum() - pos : minimum() + pos);
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
