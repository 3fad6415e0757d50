#pragma once
// The window's outline: every pixel of a picture that is not exactly white
// (0xFFFFFF) belongs to the window.

#include <QImage>
#include <QRect>
#include <QRegion>
#include <vector>

// Runs of non-white pixels, one rectangle per run and row, rows top to
// bottom and runs left to right (right and bottom exclusive).
std::vector<QRect> outline_runs(const QImage& picture);

// The picture with every pixel outside `outline` fully transparent, for a
// translucent window whose outline the compositor shows.
QImage clear_outside(const QImage& picture, const QRegion& outline);

// The same runs as a region, built in one pass: rows with the same runs are
// joined into one band. Empty when the picture has no non-white pixel.
QRegion region_from_picture(const QImage& picture);
