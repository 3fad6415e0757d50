#pragma once
// Positions are kept in twips (1/1440 inch) where the panel computes in
// twips; widgets take pixels, rounded half to even.

#include "core/rounding.h"

#include <QWidget>

struct Twips {
    int per_px_x = 15;
    int per_px_y = 15;

    int px_x(double twips) const { return static_cast<int>(round_half_even(twips / per_px_x)); }
    int px_y(double twips) const { return static_cast<int>(round_half_even(twips / per_px_y)); }

    double left(const QWidget* w) const { return double(w->x()) * per_px_x; }
    double top(const QWidget* w) const { return double(w->y()) * per_px_y; }
    double width(const QWidget* w) const { return double(w->width()) * per_px_x; }
    double height(const QWidget* w) const { return double(w->height()) * per_px_y; }

    void set_left(QWidget* w, double twips) const { w->move(px_x(twips), w->y()); }
    void set_top(QWidget* w, double twips) const { w->move(w->x(), px_y(twips)); }
    void set_width(QWidget* w, double twips) const { w->resize(px_x(twips), w->height()); }
    void set_height(QWidget* w, double twips) const { w->resize(w->width(), px_y(twips)); }
};
