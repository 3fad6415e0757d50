#include "widgets/message_line.h"

#include "widgets/shown_text.h"

void MessageLine::set_caption(const QString& caption)
{
    ++writes_;
    caption_ = caption;
    setText(displayed_text(caption));
}
