// The magnifier where the compositor places windows, and the pictures the
// desktop's screenshot portal hands out.

#include "core/shared_state.h"
#include "fake_desktop.h"
#include "magnifier/frm_mag.h"
#include "platform/picture_store.h"
#include "platform/screenshot_portal.h"
#include "screen_pattern.h"
#include "test_registry.h"

#include <QTest>
#include <QUrl>
#include <cstdlib>

namespace {

struct WaylandRig {
    explicit WaylandRig(WindowSystem system)
    {
        desktop.system = system;
        desktop.cursor = QPoint(100, 100);
        desktop.screen_image = screen_pattern(1024, 768);
    }
    SharedState state;
    FakeDesktop desktop;
    PictureStore pictures;
    FrmMag mag{state, desktop, pictures};

    // The screen pixel the view shows at the window's centre.
    QPoint shown_at_centre()
    {
        const QPoint centre(mag.width() / 2, mag.height() / 2);
        return pattern_source(mag.pic_mag()->grab().toImage().pixel(centre - mag.pic_mag()->pos()));
    }
};

bool near(QPoint a, QPoint b)
{
    return std::abs(a.x() - b.x()) <= 2 && std::abs(a.y() - b.y()) <= 2;
}

}  // namespace

class TestMagWayland : public QObject {
    Q_OBJECT
private slots:
    void opens_centred_at_a_fixed_size_where_the_pointer_is_unknown()
    {
        WaylandRig rig(WindowSystem::wayland);
        FrmMag& mag = rig.mag;
        mag.open();
        const QPoint screen_centre(512, 384);
        QVERIFY(near(mag.geometry().center(), screen_centre));
        QVERIFY(near(rig.shown_at_centre(), screen_centre));
        for (const int size_button : {3, 2}) {
            const QSize before = mag.size();
            mag.img_ico_Click(size_button);
            QVERIFY(mag.size() != before);
            QCOMPARE(mag.minimumSize(), mag.size());
            QCOMPARE(mag.maximumSize(), mag.size());
        }
        // The toolkit may report any place for a native Wayland window; the
        // view goes on showing where it opened.
        mag.move(0, 0);
        mag.img_ico_Click(1);
        QVERIFY(near(rig.shown_at_centre(), screen_centre));
    }

    void moves_by_the_compositor_re_place_the_view_where_they_are_reported()
    {
        for (const WindowSystem system : {WindowSystem::xwayland, WindowSystem::x11}) {
            WaylandRig rig(system);
            FrmMag& mag = rig.mag;
            mag.open();
            QVERIFY(near(mag.geometry().center(), rig.desktop.cursor));
            const QPoint before = rig.shown_at_centre();
            mag.move(mag.pos() + QPoint(300, 200));
            // On X11 only the drag ticks re-place it, as they always did.
            QVERIFY(near(rig.shown_at_centre(), system == WindowSystem::xwayland ? before + QPoint(300, 200) : before));
        }
    }

    void portal_pictures_become_the_screen()
    {
        const QVariantMap file{{"uri", QUrl::fromLocalFile("/tmp/out.png").toString()}};
        QCOMPARE(portal_picture_file(0, file), QStringLiteral("/tmp/out.png"));
        QCOMPARE(portal_picture_file(1, file), QString());  // refused
        QCOMPARE(portal_picture_file(0, {}), QString());
        QCOMPARE(portal_picture_file(0, {{"uri", "https://example.org/out.png"}}), QString());

        // Two screens side by side: the second one's part, at its size.
        const QImage desktop = screen_pattern(2048, 768);
        const QImage second = screen_part_of_desktop(desktop, QRect(0, 0, 2048, 768), QRect(1024, 0, 1024, 768));
        QCOMPARE(second.size(), QSize(1024, 768));
        QCOMPARE(pattern_source(second.pixel(10, 20)), QPoint(1034, 20));
        // A picture in device pixels (scale 2) comes back at the logical size.
        const QImage dense = screen_part_of_desktop(screen_pattern(2048, 1536), QRect(0, 0, 1024, 768),
                                                    QRect(0, 0, 1024, 768));
        QCOMPARE(dense.size(), QSize(1024, 768));
        QVERIFY(screen_part_of_desktop(QImage(), QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 768)).isNull());
    }
};

QV_REGISTER_TEST(TestMagWayland)

#include "tst_mag_wayland.moc"
