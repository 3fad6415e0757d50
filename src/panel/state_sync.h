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
// The panel's copy of the box, the sliders and every picture back to their
// start-up values.
void forget_the_box(Panel& p);
// The port was opened again (the device came back, or a COM button opened
// it after a loss or a failure): what was known of the box is forgotten,
// then the main page, the COM button's caption and the start-up exchange,
// so the panel shows what a fresh start against this box shows.
void resynchronise(Panel& p);
