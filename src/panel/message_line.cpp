#include "panel/message_line.h"

#include "panel/captions.h"

void MessageLine::set_caption(const QString& caption)
{
    ++writes_;
    caption_ = caption;
    setText(displayed_text(caption));
}
