#pragma once
// The about and video setting pages, and the video reset.

#include <QString>

struct Panel;

void open_about_page(Panel& p);
void open_video_page(Panel& p);
void video_reset(Panel& p);

// "Firmware Version: " and the number with a leading blank for its sign.
QString firmware_caption(int version);
