#pragma once
// The option page: four lines of a title and two values (TV system, panel
// skin, test pattern, window on top); clicking the other value chooses it.

struct Panel;

void open_option_page(Panel& p);
void option_clicked(Panel& p, int ind);
