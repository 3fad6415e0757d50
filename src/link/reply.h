#pragma once
// What one collection brought from the box: the six characters of a reply
// or a message, or "NONE" when no complete message came.

#include "link/protocol.h"

struct Reply {
    QString text = protocol::kNone;

    bool answered() const { return text != protocol::kNone; }
    // The value field (get_rx_val): 0 for "NONE".
    int value() const { return protocol::read_value(text); }
};
