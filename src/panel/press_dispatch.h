#pragma once
// Every click on a panel button: the action of its index on release, then
// the completion step that redraws it and its caption. Arrows also act on press.

struct Panel;

void button_released(Panel& p, int ind);
void button_pressed(Panel& p, int ind);

// What a click on COM<com>'s button does, for a device chosen elsewhere (a
// menu): that port number, opened on its device, and the button redrawn.
void open_com_port(Panel& p, int com);
