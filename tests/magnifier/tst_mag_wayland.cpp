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

bool near(QPoint a, QPoint b)
{
    return std::abs(a.x() - b.x()) <= 2 && std::abs(a.y() - b.y()) <= 2;
}

}  // namespace

class TestMagWayland : public QObject {
    Q_OBJECT
private slots:
    // Where the pointer is unknown (native Wayland) it opens centred on the
    // screen, and the toolkit may then report any place: the view goes on
    // showing where it opened. Under XWayland a move by the compositor
    // re-places the view; on X11 only the drag ticks do, as they always
    // did. Everywhere its size is fixed, so no compositor tiles it.
    void placed_where_the_compositor_lets_it()
    {
        const struct {
            WindowSystem system;
            QPoint opens_at;
            bool a_move_re_places, a_redraw_re_places;
        } cases[] = {
            {WindowSystem::x11, QPoint(100, 100), false, true},
            {WindowSystem::xwayland, QPoint(100, 100), true, true},
            {WindowSystem::wayland, QPoint(512, 384), false, false},
        };
        for (const auto& c : cases) {
            SharedState state;
            FakeDesktop desktop;
            desktop.system = c.system;
            desktop.screen_image = screen_pattern(1024, 768);
            PictureStore pictures;
            FrmMag mag{state, desktop, pictures};
            // The screen pixel the view shows at the window's centre.
            const auto shown_at_centre = [&] {
                const QPoint centre(mag.width() / 2, mag.height() / 2);
                return pattern_source(mag.pic_mag()->grab().toImage().pixel(centre - mag.pic_mag()->pos()));
            };
            mag.open();
            QVERIFY(near(mag.geometry().center(), c.opens_at) && near(shown_at_centre(), c.opens_at));
            for (const int size_button : {3, 2}) {
                const QSize before = mag.size();
                mag.img_ico_Click(size_button);
                QVERIFY(mag.size() != before && mag.minimumSize() == mag.size() && mag.maximumSize() == mag.size());
            }
            const QPoint before = shown_at_centre();
            mag.move(mag.pos() + QPoint(300, 200));
            QVERIFY(near(shown_at_centre(), before + (c.a_move_re_places ? QPoint(300, 200) : QPoint())));
            mag.img_ico_Click(1);
            QVERIFY(near(shown_at_centre(), before + (c.a_redraw_re_places ? QPoint(300, 200) : QPoint())));
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
        const QImage second = screen_part_of_desktop(screen_pattern(2048, 768), QRect(0, 0, 2048, 768),
                                                     QRect(1024, 0, 1024, 768));
        QCOMPARE(second.size(), QSize(1024, 768));
        QCOMPARE(pattern_source(second.pixel(10, 20)), QPoint(1034, 20));
        // A picture in device pixels (scale 2) comes back at the logical size.
        const QRect screen(0, 0, 1024, 768);
        QCOMPARE(screen_part_of_desktop(screen_pattern(2048, 1536), screen, screen).size(), screen.size());
        QVERIFY(screen_part_of_desktop(QImage(), screen, screen).isNull());
    }
};

QV_REGISTER_TEST(TestMagWayland)

#include "tst_mag_wayland.moc"
