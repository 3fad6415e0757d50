// The magnifier window on a generated screen: mouse, keyboard, assistive technology, compositors.

#include "core/shared_state.h"
#include "fake_desktop.h"
#include "magnifier/frm_mag.h"
#include "magnifier/half_picture.h"
#include "magnifier/strip_button.h"
#include "platform/picture_store.h"
#include "screen_pattern.h"
#include "test_registry.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>

namespace {

struct Rig {
    explicit Rig(int w = 1024, int h = 768, bool grab_ok = true)
    {
        desktop.screen = QSize(w, h);
        if (grab_ok)
            desktop.screen_image = screen_pattern(w, h);
        mag = std::make_unique<FrmMag>(state, desktop, pictures);
        desktop.watched = mag.get();
    }
    SharedState state;
    FakeDesktop desktop;
    PictureStore pictures;
    std::unique_ptr<FrmMag> mag;

    FrmMag& open(QPoint cursor = QPoint(100, 100))
    {
        desktop.cursor = cursor;
        mag->open();
        return *mag;
    }
    // Zoom, size and view ratio, and how many redraws and grabs so far.
    QString summary() const
    {
        return QStringLiteral("x%1 %2 %3 redraws %4 grabs %5").arg(mag->zoom()).arg(mag->small_view() ? "small" : "big")
            .arg(mag->view_ratio()).arg(mag->redraw_count()).arg(desktop.grabs);
    }
};

void hover(QWidget* widget, QPoint pos = QPoint(2, 2))
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Source pixel of the snapshot behind a point of the view.
QPoint source_under(FrmMag& mag, QPoint at) { return pattern_source(mag.pic_mag()->grab().toImage().pixel(at)); }

QPoint centre_of(const QWidget& w) { return QPoint(w.width() / 2, w.height() / 2); }

QStringList picture_names(FrmMag& mag)
{
    QStringList names;
    for (int i = 0; i < 6; ++i)
        names << mag.img_ico(i)->picture_name();
    return names;
}

// The strip's buttons lie in order, apart, from the top of the strip, inside the window.
bool strip_in_place(FrmMag& mag)
{
    for (int i = 0; i < 6; ++i)
        if (!mag.lab_frame()->geometry().contains(mag.img_ico(i)->geometry().topRight())
            || (i > 0 && mag.img_ico(i)->x() <= mag.img_ico(i - 1)->geometry().right()))
            return false;
    return mag.rect().contains(mag.lab_frame()->geometry());
}

bool near(QPoint a, QPoint b, int by = 1) { return qAbs(a.x() - b.x()) <= by && qAbs(a.y() - b.y()) <= by; }

QAccessibleInterface* acc(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }

const QStringList kOpening = {"m_15_1", "m_20_0", "m_small_1", "m_big_0", "m_refresh_0", "m_close_0"};

}  // namespace

class TestFrmMag : public QObject {
    Q_OBJECT
private slots:
    void openingStateAndLayout()
    {
        Rig rig;
        FrmMag& mag = rig.open();
        QVERIFY(mag.isVisible() && mag.isWindow() && mag.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(mag.windowFlags().testFlag(Qt::WindowStaysOnTopHint), rig.state.win_on_top);
        QCOMPARE(rig.summary(), QString("x1.5 small 0.2 redraws 1 grabs 1"));
        QVERIFY(!mag.dragging() && mag.hover_icon() == 99 && !mag.img_ico(6) && !mag.img_ico(-1));
        QCOMPARE(picture_names(mag), kOpening);
        QCOMPARE(QRect(mag.pos(), mag.size()), QRect(-4, 12, 209, 177));   // centred on the pointer at 100, 100
        QVERIFY(strip_in_place(mag));
        QCOMPARE(mag.img_ico(5)->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 rig.pictures.image("m_close_0").convertToFormat(QImage::Format_RGB32));

        mag.img_ico_Click(1);  // reopening starts afresh (even mid-drag), centred on the pointer, stacked as now set
        mag.img_ico_Click(3);
        QTest::mousePress(mag.pic_mag1(), Qt::LeftButton);
        rig.desktop.cursor = QPoint(500, 400);
        rig.state.win_on_top = !rig.state.win_on_top;
        mag.open();
        QVERIFY(!mag.dragging() && mag.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == rig.state.win_on_top);
        QCOMPARE(rig.summary(), QString("x1.5 small 0.2 redraws 3 grabs 2"));
        QCOMPARE(picture_names(mag), kOpening);
        QCOMPARE(QRect(mag.pos(), mag.size()), QRect(500 - 104, 400 - 88, 209, 177));

        // Centred on the screen's corner, half off screen: not pulled back; the corner is under the window's centre
        // at either zoom, and the view's own background shows around it.
        rig.desktop.cursor = QPoint(0, 0);
        mag.open();
        QCOMPARE(rig.desktop.visible_at_grab, std::vector<bool>(3, false));  // one grab an opening, hidden
        QCOMPARE(mag.pos(), QPoint(-104, -88));
        const QImage view = mag.pic_mag()->grab().toImage();
        QCOMPARE(view.pixelColor(1, 1), QColor(128, 0, 128));
        QCOMPARE(pattern_source(view.pixel(mag.pic_mag1()->pos() + QPoint(1, 1))), QPoint(0, 0));
        QVERIFY(near(mag.pic_mag1()->pos(), centre_of(mag)));
        mag.img_ico_Click(1);
        QVERIFY(near(mag.pic_mag1()->pos(), centre_of(mag)));
    }

    void halvesCopyTheRightColumns()
    {
        // Halves of a pixel round to even; the right half takes the rest, the left one the columns before right_first.
        struct Case { int width; float zoom; int right_first; QSize enlarged; };
        for (const Case& c : {Case{1023, 1.5f, 512, {767, 1152}}, Case{1023, 2.0f, 512, {1023, 1536}},
                              Case{1366, 1.5f, 683, {1024, 1152}}, Case{1025, 2.0f, 512, {1025, 1536}},
                              Case{1024, 2.0f, 512, {1024, 1536}}}) {
            Rig rig(c.width, 768);
            FrmMag& mag = rig.open();
            if (c.zoom == 2.0f)
                mag.img_ico_Click(1);
            const QImage left = mag.pic_mag1()->rendered(), right = mag.pic_mag2()->rendered();
            QCOMPARE((QList<QSize>{left.size(), right.size(), mag.pic_mag1()->size()}), QList<QSize>(3, c.enlarged));
            const QRect part(101, 37, 333, 211);  // painted, it is the enlargement: no seam, no other rounding
            QCOMPARE(mag.pic_mag2()->grab(part).toImage().convertToFormat(QImage::Format_RGB32), right.copy(part));
            const int w = left.width() - 1, h = left.height() - 1;
            QCOMPARE((QList<QPoint>{pattern_source(left.pixel(0, 0)), pattern_source(left.pixel(w, h)),
                                    pattern_source(right.pixel(0, 0)), pattern_source(right.pixel(w, h))}),
                     (QList<QPoint>{{0, 0}, {c.right_first - 1, 767}, {c.right_first, 0}, {c.width - 1, 767}}));
            // Every source column shows up, in order, and none from outside.
            for (int x = 1, previous = pattern_source(right.pixel(0, 5)).x(); x <= w; ++x) {
                const int col = pattern_source(right.pixel(x, 5)).x();
                QVERIFY(col == previous || col == previous + 1);
                previous = col;
            }
            QCOMPARE(mag.pic_mag2()->pos(), mag.pic_mag1()->geometry().topRight() + QPoint(1, 0));  // edge to edge
        }
    }

    void zoomAndSizeToggles()
    {
        Rig rig;
        FrmMag& mag = rig.open({400, 300});
        QTest::mouseClick(mag.img_ico(0), Qt::LeftButton);  // the chosen zoom and size again: nothing redrawn
        QTest::mouseClick(mag.img_ico(2), Qt::LeftButton);
        QCOMPARE(rig.summary(), QString("x1.5 small 0.2 redraws 1 grabs 1"));

        const QPoint corner = mag.pos();
        QTest::mouseClick(mag.img_ico(1), Qt::LeftButton);  // redrawn from the same snapshot
        QTest::mouseClick(mag.img_ico(0), Qt::RightButton);  // only the left button clicks
        QCOMPARE(rig.summary(), QString("x2 small 0.2 redraws 2 grabs 1"));
        QVERIFY(picture_names(mag).mid(0, 2) == QStringList({"m_15_0", "m_20_1"}) && mag.pos() == corner);

        const QPoint halves_at = mag.pic_mag1()->pos();
        QTest::mouseClick(mag.img_ico(3), Qt::LeftButton);  // big grows to the right and downwards, not redrawn
        QCOMPARE(rig.summary(), QString("x2 big 0.3 redraws 2 grabs 1"));
        QCOMPARE(picture_names(mag).mid(2, 2), (QStringList{"m_small_0", "m_big_1"}));
        QCOMPARE(QRect(mag.pos(), mag.size()), QRect(corner, QSize(311, 253)));
        QVERIFY(strip_in_place(mag) && mag.pic_mag1()->pos() == halves_at);
        QTest::mouseClick(mag.img_ico(2), Qt::LeftButton);
        QCOMPARE(mag.size(), QSize(209, 177));
        QTest::mouseClick(mag.img_ico(0), Qt::LeftButton);
        QCOMPARE(rig.summary(), QString("x1.5 small 0.2 redraws 3 grabs 1"));
        QCOMPARE(picture_names(mag), kOpening);
    }

    void refreshKeepsPlaceAndTakesNewSnapshot()
    {
        Rig rig;
        FrmMag& mag = rig.open({600, 400});
        mag.img_ico_Click(1);
        mag.img_ico_Click(3);
        const QRect geometry = QRect(mag.pos(), mag.size());
        const QPoint centre = centre_of(mag), before = source_under(mag, centre);
        rig.desktop.screen_image = screen_pattern(1024, 768, 100);  // the view keeps the old snapshot until refresh
        QCOMPARE(source_under(mag, centre), before);

        QTest::mouseClick(mag.img_ico(4), Qt::LeftButton);
        QCOMPARE(rig.desktop.visible_at_grab, (std::vector<bool>{false, false}));
        QVERIFY(mag.isVisible() && QRect(mag.pos(), mag.size()) == geometry);
        QCOMPARE(rig.summary(), QString("x2 big 0.3 redraws 3 grabs 2"));
        // The halves are placed afresh for the big window, on the new snapshot.
        QVERIFY(near(source_under(mag, centre), mag.pos() + centre + QPoint(100, 0)));
        QCOMPARE(picture_names(mag).mid(0, 4), (QStringList{"m_15_0", "m_20_1", "m_small_0", "m_big_1"}));
    }

    void hoverHighlights()
    {
        Rig rig;
        FrmMag& mag = rig.open();
        StripButton *refresh = mag.img_ico(4), *close = mag.img_ico(5);
        // The button under the pointer, and the pictures of refresh and close.
        const auto shown = [&] {
            return QStringList{QString::number(mag.hover_icon()), refresh->picture_name(), close->picture_name()};
        };
        hover(refresh);
        QCOMPARE(shown(), (QStringList{"4", "m_refresh_1", "m_close_0"}));
        const int loads = refresh->picture_loads();
        hover(refresh, QPoint(5, 5));  // moving within the same button reloads nothing
        QCOMPARE(refresh->picture_loads(), loads);
        hover(close);  // straight onto close: both change in that one move
        QCOMPARE(shown(), (QStringList{"5", "m_refresh_0", "m_close_1"}));

        for (QWidget* plain : std::initializer_list<QWidget*>{mag.lab_frame(), mag.pic_mag1(), mag.pic_mag2()}) {
            hover(plain == mag.pic_mag2() ? refresh : close);
            hover(plain);
            QCOMPARE(shown(), (QStringList{"99", "m_refresh_0", "m_close_0"}));
        }

        hover(close);  // toggles get no highlight but are remembered, so the strip still resets
        hover(mag.img_ico(1));
        QCOMPARE(shown() << mag.img_ico(1)->picture_name(), (QStringList{"1", "m_refresh_0", "m_close_0", "m_20_0"}));
        const int close_loads = close->picture_loads();
        hover(mag.lab_frame());
        hover(mag.lab_frame());   // with nothing highlighted the strip changes nothing
        QVERIFY(mag.hover_icon() == 99 && close->picture_loads() == close_loads + 1);
    }

    void closeEmitsClosedOnceAndWinsOverRefresh()
    {
        Rig rig, fresh;
        FrmMag& mag = *rig.mag;
        QSignalSpy closed(&mag, &FrmMag::closed);
        mag.open();
        QTest::mouseClick(mag.img_ico(5), Qt::LeftButton);
        QVERIFY(closed.count() == 1 && !mag.isVisible());
        mag.close();   // a close after closing sends no second signal
        QCOMPARE(closed.count(), 1);
        mag.open();  // any other close says so too, once per opening, and ends a drag
        QTest::mousePress(mag.pic_mag1(), Qt::LeftButton);
        mag.close();
        QVERIFY(!mag.dragging() && !mag.move_timer_active() && closed.count() == 2);

        mag.open();  // a click while refresh lets events run is not nested into it
        QTimer::singleShot(0, &mag, [&] { mag.img_ico_Click(4); });
        mag.img_ico_Click(4);
        QVERIFY(rig.desktop.grabs == 4 && mag.isVisible());
        QTimer::singleShot(0, &mag, [&] { mag.close(); });  // a close meanwhile wins: the window stays hidden
        mag.img_ico_Click(4);
        QVERIFY(!mag.isVisible() && closed.count() == 3 && rig.desktop.grabs == 4);
        mag.img_ico_Click(4);
        QVERIFY(!mag.isVisible());
        QSignalSpy fresh_closed(fresh.mag.get(), &FrmMag::closed);  // the same during an opening
        QTimer::singleShot(0, fresh.mag.get(), [&] { fresh.mag->close(); });
        fresh.mag->open();
        QVERIFY(fresh_closed.count() == 1 && !fresh.mag->isVisible());
    }

    void dragWithAnyButton()
    {
        Rig rig;
        FrmMag& mag = rig.open({500, 400});
        QVERIFY(!mag.move_timer_active());   // no drag, no ticking
        const auto drag_cursor = [&] {
            return QList<bool>{mag.pic_mag1()->cursor().shape() == Qt::BitmapCursor,
                               mag.pic_mag2()->cursor().shape() == Qt::BitmapCursor};
        };

        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            HalfPicture* half = button == Qt::RightButton ? mag.pic_mag2() : mag.pic_mag1();
            const QPoint corner = mag.pos(), halves = mag.pic_mag1()->pos(), at = rig.desktop.cursor;
            QTest::mousePress(half, button, {}, QPoint(10, 10));
            QVERIFY(mag.dragging() && mag.move_timer_active());
            QCOMPARE(mag.drag_offset(), (corner - at) * 15);
            QCOMPARE(drag_cursor(), (QList<bool>{true, true}));

            // The window follows the pointer as the timer ticks; the halves move the other way, by the zoom.
            rig.desktop.cursor = at + QPoint(10, 5);
            QTRY_COMPARE(mag.pos(), corner + QPoint(10, 5));
            QVERIFY(near(halves - mag.pic_mag1()->pos(), QPoint(15, 8)));   // 10 x 1.5, 5 x 1.5
            rig.desktop.cursor = at + QPoint(-40, 30);
            mag.tim_move_Timer();
            QCOMPARE(mag.pos(), corner + QPoint(-40, 30));
            QVERIFY(near(source_under(mag, centre_of(mag)), mag.pos() + centre_of(mag)));

            QTest::mouseRelease(half, button, {}, QPoint(10, 10));
            QVERIFY(!mag.dragging() && !mag.move_timer_active());
            QCOMPARE(drag_cursor(), (QList<bool>{false, false}));
            const QPoint rest = mag.pos();
            rig.desktop.cursor += QPoint(25, 25);
            mag.tim_move_Timer();  // after the release ticks change nothing
            QCOMPARE(mag.pos(), rest);
        }
        QCOMPARE(rig.summary(), QString("x1.5 small 0.2 redraws 1 grabs 1"));  // a drag costs no redraw, no grab

        QTest::mousePress(mag.pic_mag2(), Qt::RightButton);
        mag.hide();  // ends a drag whose release will never come
        QVERIFY(!mag.dragging() && !mag.move_timer_active());
    }

    // GNOME asks the user first: the magnifier shows that it waits, asks once however often refresh is pressed, and
    // takes the picture as soon as the user has answered; a question the desktop dropped is said.
    void aQuestionOfTheDesktopIsWaitedFor()
    {
        Rig rig(1024, 768, false);
        FrmMag& mag = *rig.mag;
        rig.desktop.problem = CaptureProblem::waiting_for_user;
        mag.open();
        QVERIFY(mag.isVisible() && mag.capture_message()->text().contains("Waiting for permission"));
        mag.img_ico_Click(4);
        QCOMPARE(rig.desktop.waiting.size(), size_t(1));
        rig.desktop.screen_image = screen_pattern(1024, 768);
        rig.desktop.answer(CaptureProblem::unavailable);
        QTRY_VERIFY(mag.capture_available() && mag.isVisible() && !mag.capture_message()->isVisibleTo(&mag));
        QCOMPARE(rig.desktop.grabs, 3);

        rig.desktop.screen_image = QImage();
        rig.desktop.problem = CaptureProblem::waiting_for_user;
        mag.img_ico_Click(4);
        rig.desktop.answer(CaptureProblem::unanswered);
        QTest::qWait(10);
        QVERIFY(mag.capture_message()->text().contains("unanswered") && rig.desktop.grabs == 4);
    }

    void refusedGrabSaysSo()
    {
        Rig rig(1024, 768, false);
        FrmMag& mag = *rig.mag;
        // The message instead of the halves, over the whole view.
        const auto refused = [&] {
            return !mag.capture_available() && mag.capture_message()->isVisibleTo(&mag)
                && mag.capture_message()->geometry() == mag.pic_mag()->rect() && !mag.pic_mag1()->isVisibleTo(&mag)
                && !mag.pic_mag2()->isVisibleTo(&mag) && mag.pic_mag1()->empty();
        };
        mag.open();
        QVERIFY(mag.isVisible() && refused());
        const QString message = mag.capture_message()->text();
        QVERIFY(message.contains("Screen capture is not available on this desktop") && message.contains("refresh"));
        QVERIFY(mag.capture_message()->minimumSizeHint().width() <= mag.pic_mag()->width());  // wrapped to fit
        mag.img_ico_Click(1);  // zoom, size and drag still work without a picture
        mag.img_ico_Click(3);
        QVERIFY(refused());
        QTest::mousePress(mag.pic_mag(), Qt::LeftButton);
        QVERIFY(!mag.dragging());  // the view itself does not drag

        rig.desktop.screen_image = screen_pattern(1024, 768);
        mag.img_ico_Click(4);  // refresh tries again
        QVERIFY(mag.capture_available() && !mag.capture_message()->isVisibleTo(&mag));
        QVERIFY(mag.pic_mag1()->isVisibleTo(&mag) && mag.pic_mag1()->rendered().size() == QSize(1024, 1536));
        rig.desktop.screen_image = QImage();
        mag.img_ico_Click(4);  // refused again: the message, not the stale picture
        QVERIFY(refused() && rig.desktop.grabs == 3);
    }

    void keyboardAndAssistiveTechnology()
    {
        Rig rig, dragged;
        FrmMag& mag = rig.open({500, 400});
        mag.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&mag));
        const auto key = [&mag](Qt::Key k) { QTest::keyClick(mag.focusWidget(), k); };
        QStringList names;
        for (int i = 0; i < 6; ++i) {
            QAccessibleInterface* a = acc(mag.img_ico(i));
            const QString name = a->text(QAccessible::Name);
            QVERIFY(a->role() == QAccessible::Button && a->state().focusable && !name.isEmpty()
                    && !names.contains(name));
            names << name;
            QCOMPARE(a->actionInterface()->actionNames().first(), QAccessibleActionInterface::pressAction());
            // The toggles say which of each pair is chosen: 1.5 and small.
            QVERIFY(bool(a->state().checkable) == (i < 4) && bool(a->state().checked) == (i == 0 || i == 2));
        }
        acc(mag.img_ico(1))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QVERIFY(mag.zoom() == 2.0f && acc(mag.img_ico(1))->state().checked && !acc(mag.img_ico(0))->state().checked);

        QCOMPARE(QApplication::focusWidget(), &mag);  // the window holds the keyboard until Tab reaches the strip
        for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return})
            key(k);
        QVERIFY(QApplication::focusWidget() == mag.img_ico(3) && !mag.small_view());

        // An arrow moves the window as a drag of five pixels does, the view following it the same way.
        FrmMag& other = dragged.open({500, 400});
        other.img_ico_Click(1);
        other.img_ico_Click(3);
        QTest::mousePress(other.pic_mag1(), Qt::LeftButton, {}, QPoint(10, 10));
        dragged.desktop.cursor += QPoint(5, -5);
        other.tim_move_Timer();
        QTest::mouseRelease(other.pic_mag1(), Qt::LeftButton, {}, QPoint(10, 10));
        key(Qt::Key_Right);
        key(Qt::Key_Up);
        QCOMPARE(QList<QPoint>({mag.pos(), mag.pic_mag1()->pos(), mag.pic_mag2()->pos()}),
                 QList<QPoint>({other.pos(), other.pic_mag1()->pos(), other.pic_mag2()->pos()}));

        QSignalSpy closed(&mag, &FrmMag::closed);
        key(Qt::Key_Escape);  // the close button
        QCOMPARE(closed.count(), 1);
    }

    // Where the pointer is unknown (native Wayland) it opens centred on the screen, and the toolkit may then report
    // any place: the view goes on showing where it opened. Under XWayland a move by the compositor re-places the
    // view; on X11 only the drag ticks do. Everywhere its size is fixed, so no compositor tiles it.
    void placedWhereTheCompositorLetsIt()
    {
        const struct { WindowSystem system; QPoint opens_at; bool a_move_re_places, a_redraw_re_places; } cases[] = {
            {WindowSystem::x11, QPoint(100, 100), false, true},
            {WindowSystem::xwayland, QPoint(100, 100), true, true},
            {WindowSystem::wayland, QPoint(512, 384), false, false},
        };
        for (const auto& c : cases) {
            Rig rig;
            rig.desktop.system = c.system;
            FrmMag& mag = rig.open();
            // The screen pixel the view shows at the window's centre.
            const auto shown_at_centre = [&] { return source_under(mag, centre_of(mag) - mag.pic_mag()->pos()); };
            QVERIFY(near(mag.geometry().center(), c.opens_at, 2) && near(shown_at_centre(), c.opens_at, 2));
            for (const int size_button : {3, 2}) {
                const QSize before = mag.size();
                mag.img_ico_Click(size_button);
                QVERIFY(mag.size() != before && mag.minimumSize() == mag.size() && mag.maximumSize() == mag.size());
            }
            const QPoint before = shown_at_centre();
            mag.move(mag.pos() + QPoint(300, 200));
            QVERIFY(near(shown_at_centre(), before + (c.a_move_re_places ? QPoint(300, 200) : QPoint()), 2));
            mag.img_ico_Click(1);
            QVERIFY(near(shown_at_centre(), before + (c.a_redraw_re_places ? QPoint(300, 200) : QPoint()), 2));
        }
    }
};

QV_REGISTER_TEST(TestFrmMag)
#include "tst_frm_mag.moc"
