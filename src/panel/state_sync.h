#pragma once
// Bringing the panel's copy of the box's settings in line with the box.

struct Panel;

// ASP, SCN, FMT, FRZ, NPO, PAT, ZOM queries; stops at the first "NONE".
void query_states(Panel& p);
// CON, BRI, SAT, FLK, SHA queries; the sliders follow.
void query_video(Panel& p);
// Resets the box (unless the box itself reported the reset) and resynchronises.
void system_reset(Panel& p);
// Start-up: version and power, and the modes when the box is on.
void startup_exchange(Panel& p);
// The port was opened again (the device came back, or a COM button opened
// it after a loss or a failure): the main page, the COM button's caption,
// and then the start-up exchange, so every setting shown is the box's own.
void resynchronise(Panel& p);
