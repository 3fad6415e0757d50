#pragma once
// Changing the panel's skin: the window loads the skin's pictures, then
// every button is drawn again in the skin and the main page comes up.

struct Panel;

void apply_skin(Panel& p);
