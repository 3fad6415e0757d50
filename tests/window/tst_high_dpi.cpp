// The panel on a screen scaled by a whole factor: the layout stays in logical pixels, and every picture pixel becomes
// an exact square block. tst_window runs this at the screen's own scale; CTest runs it again with QT_SCALE_FACTOR=2
// (the factor is fixed when the application starts).

#include "panel_rig.h"
#include "platform/system_desktop.h"
#include "test_registry.h"
#include "window/outline.h"

#include <QGuiApplication>
#include <QScrollBar>
#include <QWindow>
#include <cmath>

namespace {

// The first pixel of `shown` that is not its block of `picture`, or "".
QString first_blurred_pixel(const QImage& shown, const QImage& picture, int factor)
{
    if (shown.size() != picture.size() * factor)
        return QStringLiteral("size %1x%2").arg(shown.width()).arg(shown.height());
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != picture.pixel(x / factor, y / factor))
                return QStringLiteral("pixel %1,%2").arg(x).arg(y);
    return {};
}

}  // namespace

class TestHighDpi : public QObject {
    Q_OBJECT
private slots:
    void the_scaled_panel_keeps_its_layout_and_its_pictures_sharp()
    {
        const qreal ratio = qApp->devicePixelRatio();
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        if (ratio != std::floor(ratio))
            QSKIP("a fractional scale has no whole pixel blocks");
        const int factor = static_cast<int>(ratio);

        // Positions are computed in twips from the logical resolution, which scaling leaves alone.
        SystemDesktop real;
        QVERIFY(real.twips_per_pixel_x() == 15 && real.twips_per_pixel_y() == 15);

        StartedPanel r;
        r.frm().show();
        QVERIFY(QTest::qWaitForWindowExposed(&r.frm()));
        QCOMPARE(r.frm().devicePixelRatio(), ratio);
        // Fixed at the outline's size: the skin cannot stretch.
        QCOMPARE((QList<QSize>{r.frm().size(), r.frm().minimumSize(), r.frm().maximumSize()}),
                 QList<QSize>(3, QSize(306, 118)));
        // Design positions in pixels; the zoom grid row by row, one picture wide and high.
        QCOMPARE((QList<QPoint>{r.ico(buttons::power)->pos(), r.ico(buttons::com2)->pos(), r.el().img_connect->pos(), r.ico(buttons::zoom_area_button(1))->pos(),
                                r.ico(buttons::zoom_area_button(3))->pos(), r.ico(buttons::zoom_area_button(5))->pos(), r.ico(buttons::zoom_area_button(9))->pos()}),
                 (QList<QPoint>{{33, 43}, {249, 97}, {15, 24}, {115, 24}, {115 + 2 * 33, 24}, {115 + 33, 24 + 24},
                                {115 + 2 * 33, 24 + 2 * 24}}));

        // The outline is kept in logical pixels; the window system gets it rectangle by rectangle, each scaled whole.
        const QRegion outline = region_from_picture(QImage(source_bmp_dir() + "/blue_panel.bmp"));
        QVERIFY((r.frm().mask() ^ outline).isEmpty() && (r.frm().windowHandle()->mask() ^ outline).isEmpty());

        // The background and the pictures: whole blocks, no smoothing.
        const QImage background = r.el().pic_win->pixmap().toImage();
        QCOMPARE(first_blurred_pixel(r.el().pic_win->grab().toImage(), background, factor), QString());
        for (PictureButton* b : {r.ico(buttons::tray), r.ico(buttons::power), r.ico(buttons::zoom_area_button(1)), r.el().img_connect}) {
            const QImage picture = r.pictures.image(b->picture_name());
            QVERIFY2(!picture.isNull(), qPrintable(b->picture_name()));
            QCOMPARE(first_blurred_pixel(b->grab().toImage(), picture, factor), QString());
        }

        // A panel bitmap twice as wide doubles the layout; the zoom grid's cells stay one picture wide and high.
        QTemporaryDir big;
        for (const char* f : {"blue_panel.bmp", "1_panel.bmp"}) {
            const QImage image(source_bmp_dir() + "/" + f);
            QVERIFY(image.scaled(image.size() * 2).save(big.filePath(f), "BMP"));
        }
        PanelRig twice;
        twice.env.bmp_dir = big.path();
        twice.start();
        twice.click(buttons::video);
        QCOMPARE(twice.st.panel_scale, 2.0f);
        QCOMPARE((QList<QPoint>{twice.ico(buttons::power)->pos(), twice.ico(buttons::back)->pos(), twice.el().lab_msg->pos(), twice.ico(buttons::zoom_area_button(5))->pos()}),
                 (QList<QPoint>{{66, 86}, {462, 140}, {362, 6}, {230 + 33, 48 + 24}}));
        QCOMPARE(twice.el().hsr_video[3]->geometry(), QRect(245, 156, 204, 24));
    }
};

QV_REGISTER_TEST(TestHighDpi)
#include "tst_high_dpi.moc"
