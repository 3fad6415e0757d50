#pragma once
// Switching pages and enabling the mode buttons.

struct Panel;

void show_main_panel(Panel& p);
void show_panel_icons(Panel& p, bool visible);
void enable_icons(Panel& p, bool enabled);
void show_zoom_panel(Panel& p);

// Show or hide, enable or disable button `ind` (nothing where there is none).
void set_button_visible(Panel& p, int ind, bool visible);
void set_button_enabled(Panel& p, int ind, bool enabled);
