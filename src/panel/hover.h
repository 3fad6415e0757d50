#pragma once
// Hover highlight and captions of the panel's buttons.

struct Panel;

// Writes the caption of button `ind` to the message line (if it has one).
void show_tip(Panel& p, int ind);

// The pointer moved over button `ind`.
void hover_button_move(Panel& p, int ind);

// The pointer moved over the background or a passive label.
void hover_leave(Panel& p);
