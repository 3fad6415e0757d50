// The magnifier's arithmetic and its pictures of the screen, without widgets.

#include "magnifier/capture_message.h"
#include "magnifier/drag_pointer.h"
#include "magnifier/magnifier_geometry.h"
#include "magnifier/snapshot.h"
#include "platform/kwin_screenshot.h"
#include "platform/screenshot_portal.h"
#include "screen_pattern.h"
#include "test_registry.h"

#include <QUrl>

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
        // The strip sits right under the view, a margin above the bottom edge; close and refresh from the right. The
        // margins and the strip scale with the panel (at another DPI); the 20 above the buttons does not.
        Layout lo = layout_magnifier(screen(1024, 768, true, 1.25f));
        QCOMPARE(placed(lo), (QList<double>{3072 + 75, 2304 + 356.25 + 75, 37.5, 37.5, 3072, 2304, 2304 + 37.5,
                                            2304 + 37.5 + 20, 3147 - 285 - 75, 3147 - 285 - 75 - 435 - 25}));
        // Another twips-per-pixel: the ratio still goes by pixels.
        lo = layout_magnifier(screen(1280, 1024, true, 1.0f, 12));
        QCOMPARE(to_pixels(lo.view_width, 12), 256);

        const double widths[4] = {420, 410, 420, 420};
        const ToggleLefts lefts = toggle_lefts(30, widths);
        QCOMPARE((QList<double>{lefts.left[0], lefts.left[1], lefts.left[2], lefts.left[3]}),
                 (QList<double>{30, 450, 860, 1280}));

        // The view's share of the screen goes by its width in pixels, unless the view is the large one.
        QCOMPARE(layout_magnifier(screen(660, 480, true)).view_ratio, 0.2f);
        QCOMPARE(layout_magnifier(screen(659, 480, true)).view_ratio, 0.25f);
        QCOMPARE(layout_magnifier(screen(659, 480, false)).view_ratio, 0.3f);

        // Exact halves of a pixel go to the even neighbour, not up by a stray binary fraction of 0.3.
        QCOMPARE(to_pixels(layout_magnifier(screen(658, 480, true)).view_width, 15), 164);    // 164.5
        QCOMPARE(to_pixels(layout_magnifier(screen(1365, 768, false)).view_width, 15), 410);  // 409.5
        QCOMPARE(to_pixels(layout_magnifier(screen(1375, 768, false)).view_width, 15), 412);  // 412.5
        QCOMPARE(to_pixels(-67.5, 15), -4);  // -4.5
    }

    void pointerAndDragArithmetic()
    {
        // Twips per pixel differ across and down.
        QCOMPARE(centred_on_pointer(QPoint(100, 100), 3135, 2655, 15, 12), QPointF(-67.5, 1200 - 1327.5));
        const QPoint offset = drag_offset(-60, 300, QPoint(7, 9), 15, 12);
        QCOMPARE(offset, QPoint(-60 - 105, 300 - 108));
        QCOMPARE(dragged_corner(QPoint(8, 10), offset, 15, 12), QPoint(-60 + 15, 300 + 12));

        // The drag pointer's key colour becomes transparent.
        const QRgb pixels[3] = {qRgb(255, 0, 255), qRgb(254, 0, 255), qRgb(255, 255, 255)};
        const QImage picture(reinterpret_cast<const uchar*>(pixels), 3, 1, QImage::Format_RGB32);
        const QImage out = key_colour_transparent(picture);
        QCOMPARE((QList<QRgb>{out.pixel(0, 0), out.pixel(1, 0), out.pixel(2, 0)}),
                 (QList<QRgb>{0, pixels[1] | 0xff000000, pixels[2] | 0xff000000}));
        QVERIFY(key_colour_transparent(QImage()).isNull());
    }

    void portalPicturesBecomeTheScreen()
    {
        const QVariantMap file{{"uri", QUrl::fromLocalFile("/tmp/out.png").toString()}};
        // Refused, no file, not a local file: no picture.
        QCOMPARE((QStringList{portal_picture_file(0, file), portal_picture_file(1, file), portal_picture_file(0, {}),
                              portal_picture_file(0, {{"uri", "https://example.org/out.png"}})}),
                 (QStringList{"/tmp/out.png", "", "", ""}));

        // Two screens side by side: the second one's part, at its size.
        const QImage second = screen_part_of_desktop(screen_pattern(2048, 768), QRect(0, 0, 2048, 768),
                                                     QRect(1024, 0, 1024, 768));
        QCOMPARE(second.size(), QSize(1024, 768));
        QCOMPARE(pattern_source(second.pixel(10, 20)), QPoint(1034, 20));
        // A picture in device pixels (scale 2) comes back at the logical size.
        const QRect screen(0, 0, 1024, 768);
        QCOMPARE(screen_part_of_desktop(screen_pattern(2048, 1536), screen, screen).size(), screen.size());
        QVERIFY(screen_part_of_desktop(QImage(), screen, screen).isNull());
        // A grab of another size: black beyond it, cut where it is larger.
        const QImage grab = screen_pattern(640, 480).convertToFormat(QImage::Format_ARGB32);
        const QImage small = screen_snapshot(grab, {800, 600});
        QVERIFY(small.size() == QSize(800, 600) && small.pixel(700, 500) == qRgb(0, 0, 0));
        QCOMPARE(pattern_source(small.pixel(639, 479)), QPoint(639, 479));
        const QImage big = screen_snapshot(screen_pattern(1000, 700), {800, 600});
        QVERIFY(big.size() == QSize(800, 600) && pattern_source(big.pixel(799, 599)) == QPoint(799, 599));

        // KWin hands the picture over as raw lines; a description that does not fit the bytes gives no picture.
        QImage source = screen_pattern(3, 2).convertToFormat(QImage::Format_ARGB32);
        QByteArray bytes;
        for (int y = 0; y < 2; ++y)
            bytes += QByteArray(reinterpret_cast<const char*>(source.constScanLine(y)), 12) + QByteArray(4, '\0');
        QVariantMap raw{{"type", "raw"}, {"width", 3}, {"height", 2}, {"stride", 16},
                        {"format", int(QImage::Format_ARGB32)}};
        const QImage picture = kwin_raw_picture(raw, bytes);
        QVERIFY(picture.size() == QSize(3, 2) && picture.pixel(2, 1) == source.pixel(2, 1));
        QVERIFY(kwin_raw_picture(raw, bytes.left(31)).isNull());
        for (const auto& [key, value] : {std::pair<QString, QVariant>{"stride", 8}, {"format", 999}, {"type", "png"}}) {
            QVariantMap wrong = raw;
            wrong[key] = value;
            QVERIFY2(kwin_raw_picture(wrong, bytes).isNull(), qPrintable(key));
        }
    }

    void theViewSaysWhatTheDesktopWants()
    {
        const std::tuple<const char*, CaptureProblem, const char*> cases[] = {
            {"ubuntu:GNOME", CaptureProblem::refused, "man qv742-panel"},
            {"KDE", CaptureProblem::needs_entry, "scripts/run"},
            {"sway", CaptureProblem::refused, "privacy settings"},
            {"", CaptureProblem::unavailable, "not available"},
        };
        for (const auto& [current_desktop, problem, says] : cases) {
            const QString text = capture_message(problem, desktop_kind(current_desktop));
            QVERIFY2(text.contains(says) && text.contains("refresh"), qPrintable(text));
        }
    }
};

QV_REGISTER_TEST(TestMagnifierGeometry)
#include "tst_magnifier_geometry.moc"
