#pragma once
// Switching pages and enabling the mode buttons.

struct Panel;

void show_main_panel(Panel& p);
void show_panel_icons(Panel& p, bool visible);
void enable_icons(Panel& p, bool enabled);
void show_zoom_panel(Panel& p);

// Every zoom area button with its unselected picture.
void show_zoom_areas_unselected(Panel& p);

// Power and magnifier are locked during exchanges that must not be
// interrupted by another power or magnifier click.
void lock_power_and_magnifier(Panel& p, bool locked);

// Show or hide, enable or disable button `ind` (nothing where there is none).
void set_button_visible(Panel& p, int ind, bool visible);
void set_button_enabled(Panel& p, int ind, bool enabled);
