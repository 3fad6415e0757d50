#pragma once
// The magnifier's arithmetic, free of widgets: window layout, the source and
// destination rectangles of the two enlarged halves, and where those halves
// sit in the view. Lengths are twips unless a name says pixels.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace mag {

// Twips to pixels, halves to the even neighbour.
int to_pixels(double twips, int twips_per_pixel);

// Percentage of the screen given to the view: 30 for the big size; for the
// small one 25 on screens narrower than 660 pixels, otherwise 20.
int view_percent(bool small_view, int screen_width_twips, int twips_per_pixel_x);

struct LayoutInput {
    int screen_width = 0;    // twips
    int screen_height = 0;   // twips
    int twips_per_pixel_x = 15;
    float panel_scale = 1.0f;
    bool small_view = true;
    double strip_height = 285;   // already scaled by panel_scale
    double refresh_width = 435;
    double close_width = 285;
};

struct Layout {
    float view_ratio = 0.2f;
    double window_width = 0, window_height = 0;
    double view_left = 0, view_top = 0, view_width = 0, view_height = 0;
    double frame_width = 0, frame_height = 0;   // the red outline
    double strip_top = 0, strip_width = 0;
    double button_top = 0;
    double close_left = 0, refresh_left = 0;
};

Layout layout_magnifier(const LayoutInput& in);

// Left edges of the four toggle buttons, edge to edge from `first_left`.
struct ToggleLefts {
    double left[4];
};
ToggleLefts toggle_lefts(double first_left, const double widths[4]);

// Source rectangles in the snapshot (W x H pixels), edge to edge over all
// its columns, and the enlarged size of each half, in pixels.
struct HalfRects {
    QRect left_source;
    QRect right_source;
    QSize enlarged;
};
HalfRects half_rects(int screen_width_px, int screen_height_px, float zoom);

// Size of each half-picture widget, from the screen in twips.
QSize half_widget_size(int screen_width, int screen_height, float zoom,
                       int twips_per_pixel_x, int twips_per_pixel_y);

// Where the halves go inside the view (twips, relative to the view) for a
// window at left L, top T, width Ww, height Hw: the screen point under the
// window's centre shows at (Ww / 2, Hw / 2) of the view.
struct Placement {
    double left1 = 0, top1 = 0, left2 = 0, top2 = 0;
};
Placement place_halves(double L, double T, double Ww, double Hw, float zoom, int screen_width);

// The same in pixels. The right half starts where the left one ends, so
// separate rounding never opens a gap or an overlap between them.
struct PlacementPixels {
    QPoint first;
    QPoint second;
};
PlacementPixels placement_pixels(const Placement& p, int twips_per_pixel_x, int twips_per_pixel_y,
                                 int half_width_px);

// Window left/top (twips) centred on the pointer (screen pixels).
QPointF centred_on_pointer(QPoint cursor, double Ww, double Hw,
                           int twips_per_pixel_x, int twips_per_pixel_y);

// Drag offset (twips) taken at mouse-down: window corner minus pointer.
QPoint drag_offset(double L, double T, QPoint cursor, int twips_per_pixel_x, int twips_per_pixel_y);

// Window corner (twips) for the pointer during a drag.
QPoint dragged_corner(QPoint cursor, QPoint offset, int twips_per_pixel_x, int twips_per_pixel_y);

}  // namespace mag
