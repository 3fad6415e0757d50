#include "magnifier/magnifier_geometry.h"

#include "core/rounding.h"

namespace mag {

int to_pixels(double twips, int twips_per_pixel)
{
    return static_cast<int>(round_half_even(twips / twips_per_pixel));
}

int view_percent(bool small_view, int screen_width_twips, int twips_per_pixel_x)
{
    if (!small_view)
        return 30;
    const float width_px = static_cast<float>(screen_width_twips) / static_cast<float>(twips_per_pixel_x);
    return width_px < 660.0f ? 25 : 20;
}

Layout layout_magnifier(const LayoutInput& in)
{
    Layout out;
    const int percent = view_percent(in.small_view, in.screen_width, in.twips_per_pixel_x);
    out.view_ratio = static_cast<float>(percent) / 100.0f;
    // Whole percentages keep exact halves exact, so the pixel rounding of the
    // view size goes to the even neighbour as it should.
    const double view_w = static_cast<double>(in.screen_width) * percent / 100.0;
    const double view_h = static_cast<double>(in.screen_height) * percent / 100.0;
    const double scale = in.panel_scale;

    out.window_width = view_w + 60.0 * scale;
    out.window_height = view_h + in.strip_height + 60.0 * scale;

    out.view_left = 30.0 * scale;
    out.view_top = 30.0 * scale;
    out.view_width = view_w;
    out.view_height = view_h;

    out.frame_width = out.window_width;
    out.frame_height = out.window_height;

    out.strip_top = out.frame_height - in.strip_height - 30.0 * scale;
    out.strip_width = out.window_width;
    out.button_top = out.strip_top + 20.0;   // not scaled

    out.close_left = out.frame_width - in.close_width - 60.0 * scale;
    out.refresh_left = out.close_left - in.refresh_width - 20.0 * scale;
    return out;
}

ToggleLefts toggle_lefts(double first_left, const double widths[4])
{
    ToggleLefts out{};
    out.left[0] = first_left;
    for (int i = 1; i < 4; ++i)
        out.left[i] = out.left[i - 1] + widths[i - 1];
    return out;
}

HalfRects half_rects(int W, int H, float zoom)
{
    const int left_cols = static_cast<int>(round_half_even(W / 2.0));
    // The rest, so the halves cover every column whatever the rounding did.
    const int right_cols = W - left_cols;
    HalfRects out;
    out.left_source = QRect(0, 0, left_cols, H);
    out.right_source = QRect(left_cols, 0, right_cols, H);
    out.enlarged = QSize(static_cast<int>(round_half_even(static_cast<double>(zoom) * W / 2.0)),
                         static_cast<int>(round_half_even(static_cast<double>(zoom) * H)));
    return out;
}

QSize half_widget_size(int screen_width, int screen_height, float zoom, int tpp_x, int tpp_y)
{
    const double z = zoom;
    return QSize(to_pixels(screen_width * z / 2.0, tpp_x), to_pixels(screen_height * z, tpp_y));
}

Placement place_halves(double L, double T, double Ww, double Hw, float zoom, int screen_width)
{
    const double z = zoom;
    Placement p;
    p.top1 = Hw * 0.5 - (T + Hw * 0.5) * z;
    p.left1 = Ww * 0.5 - (L + Ww * 0.5) * z;
    p.top2 = p.top1;
    p.left2 = p.left1 + screen_width * 0.5 * z;
    return p;
}

PlacementPixels placement_pixels(const Placement& p, int tpp_x, int tpp_y, int half_width_px)
{
    PlacementPixels out;
    out.first = QPoint(to_pixels(p.left1, tpp_x), to_pixels(p.top1, tpp_y));
    out.second = QPoint(out.first.x() + half_width_px, out.first.y());
    return out;
}

QPointF centred_on_pointer(QPoint cursor, double Ww, double Hw, int tpp_x, int tpp_y)
{
    return QPointF(static_cast<double>(cursor.x()) * tpp_x - Ww * 0.5,
                   static_cast<double>(cursor.y()) * tpp_y - Hw * 0.5);
}

QPoint drag_offset(double L, double T, QPoint cursor, int tpp_x, int tpp_y)
{
    return QPoint(static_cast<int>(round_half_even(L - static_cast<double>(tpp_x) * cursor.x())),
                  static_cast<int>(round_half_even(T - static_cast<double>(tpp_y) * cursor.y())));
}

QPoint dragged_corner(QPoint cursor, QPoint offset, int tpp_x, int tpp_y)
{
    return QPoint(tpp_x * cursor.x() + offset.x(), tpp_y * cursor.y() + offset.y());
}

}  // namespace mag
