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

// Indexes of the shown widgets of an element array.
template <typename Widgets>
QSet<int> shown(const Widgets& widgets)
{
    QSet<int> out;
    for (int i = 0; i < int(widgets.size()); ++i)
        if (widgets[i] && !widgets[i]->isHidden())
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

const QSet<int> kAlways = {0, 1, 2, 28, 29};
const QSet<int> kMain = kAlways + QSet<int>{3, 26, 27} + range(6, 15);

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
        auto& el = r.el();
        QCOMPARE(el.lab_panel->text(), QString("MAIN PANEL"));
        QCOMPARE(shown(el.img_ico), kMain);
        QVERIFY(!el.img_connect->isHidden());

        button_released(r.p(), 3);
        QCOMPARE(r.st.current_page, 3);
        QCOMPARE(shown(el.img_ico), (kAlways + QSet<int>{16}));
        QCOMPARE(shown(el.lab_text), (QSet<int>{0, 1}));
        button_released(r.p(), 16);
        QCOMPARE(r.st.current_page, 99);
        QCOMPARE(shown(el.lab_text), QSet<int>());

        button_released(r.p(), 10);
        QCOMPARE(el.lab_panel->text(), QString("OPTION PANEL"));
        QCOMPARE(shown(el.img_ico), (kAlways + QSet<int>{16}));
        QCOMPARE(shown(el.lab_text), range(0, 3));
        QCOMPARE(shown(el.lab_opt), range(0, 7));
        button_released(r.p(), 16);
        QCOMPARE(shown(el.lab_opt), QSet<int>());

        button_released(r.p(), 15);
        QCOMPARE(el.lab_panel->text(), QString("VIDEO SETTING PANEL"));
        QCOMPARE(shown(el.img_ico), (kAlways + QSet<int>{16, 25}));
        QCOMPARE(shown(el.lab_text), range(0, 3));
        QCOMPARE(shown(el.hsr_video), range(0, 3));
        button_released(r.p(), 16);
        QCOMPARE(shown(el.hsr_video), QSet<int>());

        button_released(r.p(), 11);
        QCOMPARE(shown(el.img_ico), (kAlways + range(16, 21) + QSet<int>{23, 24}));
        button_released(r.p(), 16);
        button_released(r.p(), 7);
        QCOMPARE(r.st.current_page, 7);
        QCOMPARE(shown(el.img_ico), kAlways + range(16, 21) + range(30, 38));
        button_released(r.p(), 16);
        QCOMPARE(shown(el.img_ico), kMain);

        // The main group hidden and back.
        show_panel_icons(r.p(), false);
        QCOMPARE(shown(el.img_ico), (kAlways + QSet<int>{3}));
        show_main_panel(r.p());
        QCOMPARE(shown(el.img_ico), kMain);
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
        QCOMPARE(r.pictures_of({27, 9}), (QStringList{"1_aspect_panscan_0", "1_scan_under_1"}));
        QCOMPARE(r.caption(), QString("Underscan"));

        // Real pointer moves: onto the background and the passive labels the
        // highlight ends, the caption stays.
        for (QWidget* passive : std::initializer_list<QWidget*>{
                 r.el().pic_win, r.el().lab_panel, r.el().lab_msg, r.el().lab_text[2], r.el().img_connect}) {
            hover_button_move(r.p(), 9);
            send_mouse(passive, QEvent::MouseMove);
            QCOMPARE(r.picture(9), QString("1_scan_under_0"));
            QCOMPARE(r.st.hover_button, 99);
            QCOMPARE(r.caption(), QString("Underscan"));
        }
        // Option labels do not forward pointer moves.
        hover_button_move(r.p(), 9);
        send_mouse(r.el().lab_opt[0], QEvent::MouseMove);
        QCOMPARE(r.st.hover_button, 9);

        // A pointer move through the button itself, and none through a disabled one.
        send_mouse(r.ico(13), QEvent::MouseMove);
        QCOMPARE(r.st.hover_button, 13);
        QCOMPARE(r.caption(), QString("CV/SV Output"));
        hover_leave(r.p());
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
