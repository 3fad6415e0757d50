#pragma once
// What the panel does with a message the box sent on its own.

#include <QString>

struct Panel;

// Acts on one collected message by its mnemonic.
void act_on_message(Panel& p, const QString& mnemonic, int value);

// Whether acting on this message begins with a ready wait (power on, test
// pattern off, resets, zoom), which takes the box's next message.
bool waits_for_ready(const QString& mnemonic, int value);

// The poll timer's tick: collects a waiting message and acts on it.
void tim_rx_tick(Panel& p);
