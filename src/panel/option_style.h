#pragma once
// Highlight style of an option value label: chosen (bold, red, 9 pt) or
// plain (regular, black, 8 pt).

struct Panel;

void set_opt_style(Panel& p, int ind, bool sel);
