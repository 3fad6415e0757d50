#pragma once
// Setting the pictures of the panel's buttons and of the connection indicator.

#include <QString>

struct Panel;
class PictureButton;

// The button of index `ind`, or nullptr where there is none.
PictureButton* button_at(Panel& p, int ind);

// Picture of button `ind` for the state in force; highlighted when `on`.
void on_off_ico(Panel& p, int ind, bool on);

// Loads a named picture into button `ind` directly.
void set_button_picture(Panel& p, int ind, const QString& name);

// The connection indicator img_connect.
void show_connect(Panel& p, bool on);
