// Pages and hover on the real panel window.

#include "panel/hover.h"
#include "panel/option_label.h"
#include "panel/pages.h"
#include "panel/press_dispatch.h"
#include "panel_rig.h"
#include "test_registry.h"

#include <QLabel>
#include <QScrollBar>
#include <QSet>

namespace {

QSet<int> shown(PanelRig& r)
{
    QSet<int> out;
    for (int i = 0; i < 39; ++i)
        if (r.ico(i) && !r.ico(i)->isHidden())
            out << i;
    return out;
}

QSet<int> range(int from, int to)
{
    QSet<int> out;
    for (int i = from; i <= to; ++i)
        out << i;
    return out;
}

QSet<int> shown_texts(PanelRig& r)
{
    QSet<int> out;
    for (int i = 0; i < 4; ++i)
        if (!r.el().lab_text[i]->isHidden())
            out << i;
    return out;
}

int shown_options(PanelRig& r)
{
    int n = 0;
    for (OptionLabel* l : r.el().lab_opt)
        n += !l->isHidden();
    return n;
}

int shown_sliders(PanelRig& r)
{
    int n = 0;
    for (QScrollBar* s : r.el().hsr_video)
        n += !s->isHidden();
    return n;
}

const QSet<int> kAlways = {0, 1, 2, 28, 29};

void send_mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent e(type, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), button,
                  type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

class TestPagesHover : public QObject {
    Q_OBJECT
private slots:
    void each_page_shows_its_own_elements()
    {
        PanelRig r;
        r.start();
        QCOMPARE(r.el().lab_panel->text(), QString("MAIN PANEL"));
        QCOMPARE(shown(r), (kAlways + QSet<int>{3, 26, 27} + range(6, 15)));
        QVERIFY(!r.el().img_connect->isHidden());

        button_released(r.p(), 3);
        QCOMPARE(r.st.current_page, 3);
        QCOMPARE(shown(r), (kAlways + QSet<int>{16}));
        QCOMPARE(shown_texts(r), (QSet<int>{0, 1}));

        button_released(r.p(), 16);
        QCOMPARE(r.st.current_page, 99);
        QCOMPARE(shown_texts(r), QSet<int>());

        button_released(r.p(), 10);
        QCOMPARE(r.el().lab_panel->text(), QString("OPTION PANEL"));
        QCOMPARE(shown(r), (kAlways + QSet<int>{16}));
        QCOMPARE(shown_texts(r), range(0, 3));
        QCOMPARE(shown_options(r), 8);
        button_released(r.p(), 16);
        QCOMPARE(shown_options(r), 0);

        button_released(r.p(), 15);
        QCOMPARE(r.el().lab_panel->text(), QString("VIDEO SETTING PANEL"));
        QCOMPARE(shown(r), (kAlways + QSet<int>{16, 25}));
        QCOMPARE(shown_texts(r), range(0, 3));
        QCOMPARE(shown_sliders(r), 4);
        button_released(r.p(), 16);
        QCOMPARE(shown_sliders(r), 0);

        button_released(r.p(), 11);
        QCOMPARE(shown(r), (kAlways + range(16, 21) + QSet<int>{23, 24}));
        button_released(r.p(), 16);

        button_released(r.p(), 7);
        QCOMPARE(r.st.current_page, 7);
        QCOMPARE(shown(r), (kAlways + range(16, 21) + range(30, 38)));
        button_released(r.p(), 16);
        QCOMPARE(shown(r), (kAlways + QSet<int>{3, 26, 27} + range(6, 15)));

        // The main group hidden and back.
        show_panel_icons(r.p(), false);
        QCOMPARE(shown(r), (kAlways + QSet<int>{3}));
        show_main_panel(r.p());
        QCOMPARE(shown(r), (kAlways + QSet<int>{3, 26, 27} + range(6, 15)));
    }

    void enable_icons_spares_power_and_magnifier()
    {
        PanelRig r;
        r.start();
        r.ico(26)->setEnabled(false);
        enable_icons(r.p(), false);
        for (int i : {6, 7, 9, 10, 11, 12, 13, 14, 15, 27})
            QVERIFY2(!r.ico(i)->isEnabled(), qPrintable(QString::number(i)));
        QVERIFY(r.ico(8)->isEnabled());
        QVERIFY(!r.ico(26)->isEnabled());  // untouched
        enable_icons(r.p(), true);
        for (int i = 6; i <= 15; ++i)
            QVERIFY(r.ico(i)->isEnabled());
        QVERIFY(r.ico(27)->isEnabled());
    }

    void zoom_page_marks_the_area_the_box_reports()
    {
        PanelRig r;
        r.start();
        r.box.receive("ARA009", 0);
        show_zoom_panel(r.p());
        QCOMPARE(r.st.pressed_button, 7);
        QCOMPARE(r.picture(38), QString("1_zoom9_on_0"));
        for (int i = 30; i < 38; ++i)
            QVERIFY(r.picture(i).endsWith("_off_0"));

        r.port.unanswered << "ARA999";
        r.st.zoom_area = 4;
        show_zoom_panel(r.p());
        for (int i = 30; i <= 38; ++i)
            QVERIFY(r.picture(i).endsWith("_off_0"));
        QCOMPARE(r.st.zoom_area, 4);
    }

    void hover_highlights_and_captions_buttons()
    {
        PanelRig r;
        r.start();
        r.st.aspect_mode = 1;
        hover_button_move(r.p(), 27);
        QCOMPARE(r.picture(27), QString("1_aspect_panscan_1"));
        QCOMPARE(r.caption(), QString("Aspect-Pan&&Scan"));
        QCOMPARE(r.el().lab_msg->text(), QString("Aspect-Pan&Scan"));
        QCOMPARE(r.st.hover_button, 27);

        // Moving within the same button reloads nothing.
        const int loads = r.ico(27)->picture_loads();
        r.el().lab_msg->set_caption("other");
        hover_button_move(r.p(), 27);
        QCOMPARE(r.ico(27)->picture_loads(), loads);
        QCOMPARE(r.caption(), QString("other"));

        // From A straight onto B.
        hover_button_move(r.p(), 9);
        QCOMPARE(r.picture(27), QString("1_aspect_panscan_0"));
        QCOMPARE(r.picture(9), QString("1_scan_under_1"));
        QCOMPARE(r.caption(), QString("Underscan"));

        // Real pointer moves: onto the background and the passive labels the
        // highlight ends, the caption stays.
        for (QWidget* passive : std::initializer_list<QWidget*>{
                 r.el().pic_win, r.el().lab_panel, r.el().lab_msg, r.el().lab_text[2], r.el().img_connect}) {
            hover_button_move(r.p(), 9);
            QCOMPARE(r.picture(9), QString("1_scan_under_1"));
            send_mouse(passive, QEvent::MouseMove);
            QCOMPARE(r.picture(9), QString("1_scan_under_0"));
            QCOMPARE(r.st.hover_button, 99);
            QCOMPARE(r.caption(), QString("Underscan"));
        }
        // Option labels do not forward pointer moves.
        hover_button_move(r.p(), 9);
        send_mouse(r.el().lab_opt[0], QEvent::MouseMove);
        QCOMPARE(r.st.hover_button, 9);

        // A pointer move through the button itself.
        send_mouse(r.ico(13), QEvent::MouseMove);
        QCOMPARE(r.st.hover_button, 13);
        QCOMPARE(r.caption(), QString("CV/SV Output"));
    }

    void disabled_buttons_get_no_pointer_events()
    {
        PanelRig r;
        r.start();
        r.ico(6)->setEnabled(false);
        send_mouse(r.ico(6), QEvent::MouseMove);
        QCOMPARE(r.st.hover_button, 99);
        QCOMPARE(r.picture(6), QString("1_sys_reset_0"));
        send_mouse(r.ico(6), QEvent::MouseButtonRelease, Qt::LeftButton);
        QCOMPARE(r.st.pressed_button, 99);
    }
};

QV_REGISTER_TEST(TestPagesHover)
#include "tst_pages_hover.moc"
