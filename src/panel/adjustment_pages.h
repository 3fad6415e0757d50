#pragma once
// The position/pan and size/expand pages with their two tabs, the arrows
// that move or size the picture while held, and the zoom page's areas.

struct Panel;

// Release of main-page button 11 or 12.
void open_adjustment_page(Panel& p);
// Selects tab 23 (position) or 24 (size); `settle` lets pending events run
// between enabling and drawing, as a tab click does.
void select_tab(Panel& p, int tab, bool settle);
// Press of arrow 17..20: the "001" form of a move or size command.
void arrow_pressed(Panel& p, int ind);
// Release of 17..21: the "000" form, or the default command.
void arrow_released(Panel& p, int ind);
// Release of zoom area button 30..38.
void zoom_area_released(Panel& p, int ind);
