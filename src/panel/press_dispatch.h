#pragma once
// Every click on a panel button: the action of its index on release, then
// the completion step that redraws it and its caption. Arrows also act on press.

struct Panel;

void button_released(Panel& p, int ind);
void button_pressed(Panel& p, int ind);

// The COM button's routine, for a device chosen elsewhere (a menu) as for a
// click: that port number, opened on its device, and the button redrawn.
void open_com_port(Panel& p, int com);
