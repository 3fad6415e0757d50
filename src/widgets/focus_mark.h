#pragma once
// The keyboard focus mark of the skinned controls: a dashed frame just inside
// the control, dark and light by turns, so it shows on the wood and on the
// flower skin, on dark and on light button faces alike, and cannot be taken
// for the hover highlight (a plain coloured border).

class QPainter;
class QRect;

void paint_focus_mark(QPainter& painter, const QRect& control);
