#pragma once
// The position/pan and size/expand pages with their two tabs, the arrows
// that move or size the picture while held, and the zoom page's areas.

struct Panel;

// Release of the main page's position or size button `ind`.
void open_adjustment_page(Panel& p, int ind);
// Selects the position or the size tab; `settle` lets pending events run
// between enabling and drawing, as a tab click does.
void select_tab(Panel& p, int tab, bool settle);
// Press of an arrow (up, left, down, right): the "001" form of a move or size command.
void arrow_pressed(Panel& p, int ind);
// Release of an arrow: the "000" form; of the centre: the default command.
void arrow_released(Panel& p, int ind);
// Release of a zoom area button.
void zoom_area_released(Panel& p, int ind);
