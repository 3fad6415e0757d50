// The magnifier's arithmetic, without widgets.

#include "magnifier/drag_pointer.h"
#include "magnifier/magnifier_geometry.h"
#include "test_registry.h"

#include <QImage>
#include <QTest>

using namespace mag;

namespace {

LayoutInput screen(int w_px, int h_px, bool small, float scale = 1.0f, int tpp = 15)
{
    LayoutInput in;
    in.screen_width = w_px * tpp;
    in.screen_height = h_px * tpp;
    in.twips_per_pixel_x = tpp;
    in.panel_scale = scale;
    in.small_view = small;
    in.strip_height = 285.0 * scale;
    in.refresh_width = 29.0 * tpp;
    in.close_width = 19.0 * tpp;
    return in;
}

// Window, view, strip and the two right-hand buttons, in twips.
QList<double> placed(const Layout& lo)
{
    return {lo.window_width, lo.window_height, lo.view_left, lo.view_top, lo.view_width, lo.view_height,
            lo.strip_top, lo.button_top, lo.close_left, lo.refresh_left};
}

}  // namespace

class TestMagnifierGeometry : public QObject {
    Q_OBJECT
private slots:
    void layoutFromScreen()
    {
        // 1024 x 768 at 15 twips per pixel, small. The strip sits right under
        // the view, 30 twips above the bottom edge; close and refresh from the right.
        Layout lo = layout_magnifier(screen(1024, 768, true));
        QCOMPARE(lo.view_ratio, 0.2f);
        QCOMPARE(placed(lo), (QList<double>{3132, 2649, 30, 30, 3072, 2304, 2334, 2354, 3132 - 285 - 60,
                                            3132 - 285 - 60 - 435 - 20}));
        QCOMPARE((QList<double>{lo.frame_width, lo.frame_height, lo.strip_width}), (QList<double>{3132, 2649, 3132}));
        QCOMPARE(to_pixels(lo.window_width, 15), 209);   // 208.8
        QCOMPARE(to_pixels(lo.window_height, 15), 177);  // 176.6

        // Big.
        lo = layout_magnifier(screen(1024, 768, false));
        QCOMPARE(lo.view_ratio, 0.3f);
        QCOMPARE(placed(lo).mid(0, 6), (QList<double>{4668, 3456 + 285 + 60, 30, 30, 4608, 3456}));

        // The margins and the strip scale with the panel; the 20 above the
        // buttons does not.
        lo = layout_magnifier(screen(1024, 768, true, 1.25f));
        QCOMPARE(placed(lo), (QList<double>{3072 + 75, 2304 + 356.25 + 75, 37.5, 37.5, 3072, 2304, 2304 + 37.5,
                                            2304 + 37.5 + 20, 3147 - 285 - 75, 3147 - 285 - 75 - 435 - 25}));

        // Another twips-per-pixel: the ratio still goes by pixels.
        lo = layout_magnifier(screen(1280, 1024, true, 1.0f, 12));
        QCOMPARE(lo.view_ratio, 0.2f);
        QCOMPARE(to_pixels(lo.view_width, 12), 256);

        // The four toggles sit edge to edge from 30.
        const double widths[4] = {420, 410, 420, 420};
        const ToggleLefts lefts = toggle_lefts(30, widths);
        QCOMPARE((QList<double>{lefts.left[0], lefts.left[1], lefts.left[2], lefts.left[3]}),
                 (QList<double>{30, 450, 860, 1280}));
    }

    void viewRatioThresholdAndHalves()
    {
        QCOMPARE(layout_magnifier(screen(660, 480, true)).view_ratio, 0.2f);
        QCOMPARE(layout_magnifier(screen(659, 480, true)).view_ratio, 0.25f);
        QCOMPARE(layout_magnifier(screen(659, 480, false)).view_ratio, 0.3f);
        QCOMPARE(view_percent(true, 660 * 15, 15), 20);
        QCOMPARE(view_percent(true, 659 * 15, 15), 25);

        // Exact halves of a pixel go to the even neighbour, not up by a stray
        // binary fraction of 0.3.
        QCOMPARE(to_pixels(layout_magnifier(screen(658, 480, true)).view_width, 15), 164);    // 164.5
        QCOMPARE(to_pixels(layout_magnifier(screen(1365, 768, false)).view_width, 15), 410);  // 409.5
        QCOMPARE(to_pixels(layout_magnifier(screen(1375, 768, false)).view_width, 15), 412);  // 412.5
        QCOMPARE(to_pixels(-67.5, 15), -4);  // -4.5
        QCOMPARE(to_pixels(52.5, 15), 4);    // 3.5
    }

    void sourceRectanglesOfTheHalves()
    {
        // Odd width: 511.5 rounds to 512 columns on the left, 511 on the right.
        HalfRects r = half_rects(1023, 768, 1.5f);
        QCOMPARE(r.left_source, QRect(0, 0, 512, 768));
        QCOMPARE(r.right_source, QRect(512, 0, 511, 768));
        QCOMPARE(r.enlarged, QSize(767, 1152));   // 767.25

        // Every column is shown, on widths of every kind (4k to 4k+3).
        for (int w : {1024, 1025, 1026, 1023, 1366}) {
            r = half_rects(w, 768, 1.5f);
            QCOMPARE(r.left_source.x(), 0);
            QCOMPARE(r.right_source.x(), r.left_source.width());
            QCOMPARE(r.right_source.right(), w - 1);
        }
        r = half_rects(1366, 768, 1.5f);
        QCOMPARE(r.left_source, QRect(0, 0, 683, 768));
        QCOMPARE(r.enlarged, QSize(1024, 1152));   // 1024.5
        QCOMPARE(half_rects(1366, 768, 2.0f).enlarged, QSize(1366, 1536));
        r = half_rects(1024, 768, 2.0f);
        QCOMPARE(r.right_source, QRect(512, 0, 512, 768));
        QCOMPARE(r.enlarged, QSize(1024, 1536));

        QCOMPARE(half_widget_size(1023 * 15, 768 * 15, 1.5f, 15, 15), QSize(767, 1152));
        QCOMPARE(half_widget_size(1920 * 15, 1080 * 15, 2.0f, 15, 15), QSize(1920, 2160));
    }

    void placementOfTheHalves()
    {
        const auto at = [](const Placement& p) { return QList<double>{p.left1, p.top1, p.left2, p.top2}; };
        // Window at the screen's corner, 1024 x 768 screen, zoom 1.5.
        QCOMPARE(at(place_halves(0, 0, 3132, 2649, 1.5f, 15360)),
                 (QList<double>{-783, -662.25, -783 + 11520, -662.25}));
        // In the middle, zoom 2.0.
        QCOMPARE(at(place_halves(6000, 4000, 3132, 2649, 2.0f, 15360)),
                 (QList<double>{1566 - 7566 * 2, 1324.5 - 5324.5 * 2, 1566 - 7566 * 2 + 15360, 1324.5 - 5324.5 * 2}));
        // Off the left and top edges by more than a sixth of the window: the
        // pictures start inside the view and its background shows.
        QCOMPARE(at(place_halves(-600, -450, 3132, 2649, 1.5f, 15360)).mid(0, 2), (QList<double>{117, 12.75}));
        // Exactly a quarter at zoom 2.0 is the boundary.
        QCOMPARE(place_halves(-783, 0, 3132, 2649, 2.0f, 15360).left1, 0.0);

        // Pixels: the right half starts where the left one ends.
        PlacementPixels px = placement_pixels(place_halves(0, 0, 3132, 2649, 1.5f, 15360), 15, 15, 768);
        QCOMPARE(px.first, QPoint(-52, -44));   // -52.2, -44.15
        QCOMPARE(px.second, QPoint(-52 + 768, -44));
        // 1023 wide at 1.5: rounding the right half's own left (777.65) would
        // leave a one-pixel gap after the 767-pixel left half.
        px = placement_pixels(Placement{156, 0, 156 + 1023 * 15 * 0.75, 0}, 15, 15, 767);
        QCOMPARE(px.first.x(), 10);
        QCOMPARE(px.second.x(), 777);
    }

    void pointerAndDragArithmetic()
    {
        // Centred on the pointer, not clamped.
        QCOMPARE(centred_on_pointer(QPoint(100, 100), 3135, 2655, 15, 15), QPointF(-67.5, 172.5));
        QCOMPARE(centred_on_pointer(QPoint(0, 0), 3000, 2000, 15, 15), QPointF(-1500, -1000));

        // Mouse-down at (100, 100) with the window at 1500, 1500; move to (110, 105).
        const QPoint offset = drag_offset(1500, 1500, QPoint(100, 100), 15, 15);
        QCOMPARE(offset, QPoint(0, 0));
        QCOMPARE(dragged_corner(QPoint(110, 105), offset, 15, 15), QPoint(1650, 1575));
        const QPoint off2 = drag_offset(-60, 300, QPoint(7, 9), 15, 12);
        QCOMPARE(off2, QPoint(-60 - 105, 300 - 108));
        QCOMPARE(dragged_corner(QPoint(7, 9), off2, 15, 12), QPoint(-60, 300));
    }

    void dragPointerKeyColour()
    {
        QImage picture(4, 1, QImage::Format_RGB32);
        const QRgb pixels[4] = {qRgb(255, 0, 255), qRgb(0, 0, 0), qRgb(254, 0, 255), qRgb(255, 255, 255)};
        for (int x = 0; x < 4; ++x)
            picture.setPixel(x, 0, pixels[x]);
        const QImage out = key_colour_transparent(picture);
        QCOMPARE(qAlpha(out.pixel(0, 0)), 0);
        for (int x = 1; x < 4; ++x)
            QCOMPARE(out.pixel(x, 0), pixels[x] | 0xff000000);
        QVERIFY(key_colour_transparent(QImage()).isNull());
    }
};

QV_REGISTER_TEST(TestMagnifierGeometry)
#include "tst_magnifier_geometry.moc"
