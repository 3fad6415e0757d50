#pragma once
// The screen snapshot and its enlargement into a half-picture.

class QImage;
class QRect;
class QSize;

// `grab` as a W x H snapshot: the screen from its top-left corner, black
// where a smaller grab does not reach. A null image stays null.
QImage screen_snapshot(QImage grab, const QSize& screen);

// Nearest-neighbour enlargement of `source` of `snapshot`, drawn straight
// into a new picture of `size`; null when either is empty.
QImage enlarge(const QImage& snapshot, const QRect& source, const QSize& size);
