// The panel window where a compositor places and moves windows: which place
// the settings keep, and the desktop showing around the outline.

#include "panel_rig.h"
#include "test_registry.h"
#include "window/outline.h"
#include "window/panel_placement.h"

#include <optional>

Q_DECLARE_METATYPE(WindowSystem)
Q_DECLARE_METATYPE(std::optional<QPoint>)

class TestWaylandWindow : public QObject {
    Q_OBJECT
private slots:
    void the_settings_keep_a_place_the_compositor_chose_data()
    {
        QTest::addColumn<WindowSystem>("system");
        QTest::addColumn<std::optional<QPoint>>("stored");
        QTest::addColumn<QPoint>("requested");
        QTest::addColumn<std::optional<QPoint>>("moved_from");
        QTest::addColumn<QPoint>("now");
        QTest::addColumn<QPoint>("saved");
        const std::optional<QPoint> none;
        const QPoint stored(1500, 1500), centre(5385, 4695), dragged(2000, 900);
        QTest::newRow("X11 saves where it is") << WindowSystem::x11 << std::optional(stored) << stored << none
                                               << dragged << dragged;
        QTest::newRow("Wayland keeps the file's place, even off the screen")
            << WindowSystem::wayland << std::optional(QPoint(-200, 1500)) << QPoint(0, 1500)
            << std::optional(QPoint(0, 0)) << QPoint(0, 0) << QPoint(-200, 1500);
        QTest::newRow("Wayland without a file keeps the centre it asked for")
            << WindowSystem::wayland << none << centre << none << QPoint(0, 0) << centre;
        QTest::newRow("XWayland placed as asked saves a drag")
            << WindowSystem::xwayland << std::optional(stored) << stored << std::optional(stored) << dragged
            << dragged;
        QTest::newRow("XWayland placed elsewhere keeps the file")
            << WindowSystem::xwayland << std::optional(stored) << stored << std::optional(centre) << dragged
            << stored;
        QTest::newRow("XWayland placed elsewhere, never moved")
            << WindowSystem::xwayland << std::optional(stored) << stored << none << centre << stored;
        QTest::newRow("XWayland without a file saves the real place")
            << WindowSystem::xwayland << none << QPoint(6000, 4000) << none << centre << centre;
    }

    void the_settings_keep_a_place_the_compositor_chose()
    {
        QFETCH(WindowSystem, system);
        QFETCH(std::optional<QPoint>, stored);
        QFETCH(QPoint, requested);
        QFETCH(std::optional<QPoint>, moved_from);
        QFETCH(QPoint, now);
        QFETCH(QPoint, saved);
        PanelPlacement placement(system);
        placement.placed(stored, requested);
        if (moved_from) {
            placement.user_moves(*moved_from);
            placement.user_moves(now);  // only the first move tells where the compositor put it
        }
        QCOMPARE(placement.to_save(now), saved);
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
            const QImage skin = r.el().pic_win->pixmap().toImage();
            QCOMPARE(qAlpha(skin.pixel(outside)), compositor ? 0 : 255);
            QCOMPARE(qAlpha(skin.pixel(inside)), 255);
            QVERIFY(!r.frm().mask().contains(outside));  // clicks stay out all the same

            // Choosing the other skin paints it inside the outline too.
            r.st.panel_skin = QStringLiteral("2");
            r.frm().load_skin();
            QCOMPARE(qAlpha(r.el().pic_win->pixmap().toImage().pixel(outside)), compositor ? 0 : 255);

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
