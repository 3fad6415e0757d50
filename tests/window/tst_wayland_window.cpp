// The panel window where a compositor places and moves windows: which place
// the settings keep, and the desktop showing around the outline.

#include "panel_rig.h"
#include "test_registry.h"
#include "window/outline.h"
#include "window/panel_placement.h"

#include <optional>

class TestWaylandWindow : public QObject {
    Q_OBJECT
private slots:
    void the_settings_keep_a_place_the_compositor_chose()
    {
        const auto x11 = WindowSystem::x11, xwayland = WindowSystem::xwayland, wayland = WindowSystem::wayland;
        const std::optional<QPoint> none;
        const QPoint stored(1500, 1500), centre(5385, 4695), dragged(2000, 900);
        const struct {
            WindowSystem system;
            std::optional<QPoint> stored;
            QPoint requested;
            std::optional<QPoint> moved_from;  // where the window was when the user first moved it
            QPoint now, saved;
        } cases[] = {
            {x11, stored, stored, none, dragged, dragged},
            {wayland, QPoint(-200, 1500), QPoint(0, 1500), QPoint(0, 0), QPoint(0, 0), QPoint(-200, 1500)},
            {wayland, none, centre, none, QPoint(0, 0), centre},     // no file: the centre asked for
            {xwayland, stored, stored, stored, dragged, dragged},    // placed as asked: like X11
            {xwayland, stored, stored, centre, dragged, stored},     // placed elsewhere
            {xwayland, stored, stored, none, centre, stored},
            {xwayland, none, QPoint(6000, 4000), none, centre, centre},
        };
        for (const auto& c : cases) {
            PanelPlacement placement(c.system);
            placement.placed(c.stored, c.requested);
            if (c.moved_from) {
                placement.user_moves(*c.moved_from);
                placement.user_moves(c.now);
            }
            QCOMPARE(placement.to_save(c.now), c.saved);
        }
    }

    void on_a_compositor_the_desktop_shows_around_the_outline()
    {
        const QImage outline(source_bmp_dir() + "/blue_panel.bmp");
        QPoint outside(-1, -1), inside(outline.width() / 2, outline.height() / 2);
        for (int x = 0; x < outline.width() && outside.x() < 0; ++x)
            if ((outline.pixel(x, 0) & 0xFFFFFF) == 0xFFFFFF)
                outside = QPoint(x, 0);
        QVERIFY(outside.x() >= 0);

        for (const WindowSystem system : {WindowSystem::x11, WindowSystem::xwayland, WindowSystem::wayland}) {
            PanelRig r;
            r.desktop.system = system;
            r.start();
            const bool compositor = system != WindowSystem::x11;
            QCOMPARE(r.frm().testAttribute(Qt::WA_TranslucentBackground), compositor);
            QVERIFY(!r.frm().mask().contains(outside));  // clicks stay out all the same
            // Either skin is painted inside the outline only.
            for (const char* skin : {"1", "2"}) {
                r.st.panel_skin = skin;
                r.frm().load_skin();
                const QImage shown = r.el().pic_win->pixmap().toImage();
                QVERIFY(qAlpha(shown.pixel(outside)) == (compositor ? 0 : 255) && qAlpha(shown.pixel(inside)) == 255);
            }

            // A press on the background (the compositor declines here), a
            // move, and shut-down: only X11 and an XWayland that honoured
            // the place save it.
            QTest::mousePress(r.el().pic_win, Qt::LeftButton, {}, QPoint(10, 100));
            r.frm().move(50, 60);
            r.frm().close();
            QCOMPARE(r.read_settings(), system == WindowSystem::wayland ? QByteArray("2,1,1500,1500,#FALSE#\r\n")
                                                                        : QByteArray("2,1,750,900,#FALSE#\r\n"));
        }
        QCOMPARE(clear_outside(QImage(4, 1, QImage::Format_RGB32), QRegion(1, 0, 2, 1)).pixel(0, 0), 0u);
    }
};

QV_REGISTER_TEST(TestWaylandWindow)

#include "tst_wayland_window.moc"
