#pragma once
// Hover captions: the short text the message line shows for a button. For
// setting buttons it names the setting in force. Pure, no widgets.

#include "widgets/shown_text.h"

#include <QString>
#include <optional>

struct SharedState;

// The caption of button `ind`, or nothing when `ind` has none (the message
// line is then left as it is). A doubled ampersand stands for one.
std::optional<QString> caption(int ind, const SharedState& st);

// "COM1 lost !": the message line once the open port failed.
QString port_lost_message(int com_port);

