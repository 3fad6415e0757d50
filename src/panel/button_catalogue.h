#pragma once
// The panel's buttons: index numbering, design positions, and the picture
// each shows for the box's state. Pure functions, no widgets.

#include "panel/panel_ids.h"

#include <QPoint>
#include <QString>

struct SharedState;

namespace catalogue {

// Whether `ind` names a button of img_ico.
bool is_button(int ind);

// The stem on_off_ico picks for button `ind` from the state in force; empty
// when `ind` names no button.
QString stem(int ind, const SharedState& st);

// Name of the picture on_off_ico loads for button `ind`, highlighted when
// `on`; empty when nothing is to change (99, 4, 5, out of range).
QString picture_name(int ind, bool on, const SharedState& st);

// skin + "_" + stem + "_" + state digit, e.g. "1_2move_2".
QString skin_picture(const QString& skin, const QString& stem, int state);

// Zoom area N's picture: skin + "_zoom" + N + "_on_"/"_off_" + state digit.
QString zoom_picture(const QString& skin, int area, bool selected, int state);

// Connection indicator: skin + "_connect_on_0" or "_connect_off_0".
QString connect_picture(const QString& skin, bool on);

// Design position in twips (of the zoom grid only its first area has one).
QPoint design_position(int ind);

// Visible when the window starts.
bool shown_at_start(int ind);

// Tooltip text: only the refresh button has one.
QString tooltip(int ind);

}  // namespace catalogue
