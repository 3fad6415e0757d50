// Pages and hover on the real panel window.

#include "panel/hover.h"
#include "panel/option_label.h"
#include "panel/pages.h"
#include "panel_rig.h"
#include "test_registry.h"

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
        StartedPanel r;
        auto& el = r.el();
        // Buttons, texts, option lines and sliders shown, and the page's title.
        const auto page = [&] {
            return std::make_pair(QList<QSet<int>>{shown(el.img_ico), shown(el.lab_text), shown(el.lab_opt),
                                                   shown(el.hsr_video)}, r.title());
        };
        const auto main = std::make_pair(QList<QSet<int>>{kMain, {}, {}, {}}, QString("MAIN PANEL"));
        QCOMPARE(page(), main);
        QVERIFY(!el.img_connect->isHidden());
        const struct {
            int button;
            QList<QSet<int>> shows;
            QString title;
        } pages[] = {
            {3, {kAlways + QSet<int>{16}, {0, 1}, {}, {}}, "ABOUT PANEL"},
            {10, {kAlways + QSet<int>{16}, range(0, 3), range(0, 7), {}}, "OPTION PANEL"},
            {15, {kAlways + QSet<int>{16, 25}, range(0, 3), {}, range(0, 3)}, "VIDEO SETTING PANEL"},
            {11, {kAlways + range(16, 21) + QSet<int>{23, 24}, {}, {}, {}}, "POSITION PANEL"},
            {7, {kAlways + range(16, 21) + range(30, 38), {}, {}, {}}, "ZOOM PANEL"},
        };
        for (const auto& p : pages) {
            r.click(p.button);
            QCOMPARE(page(), std::make_pair(p.shows, p.title));
            r.click(16);
            QCOMPARE(page(), main);
        }
        // The main group hidden and back.
        show_panel_icons(r.p(), false);
        QCOMPARE(shown(el.img_ico), (kAlways + QSet<int>{3}));
        show_main_panel(r.p());
        QCOMPARE(shown(el.img_ico), kMain);
    }

    void hover_highlights_and_captions_buttons()
    {
        StartedPanel r;
        r.st.aspect_mode = 1;
        hover_button_move(r.p(), 27);
        QCOMPARE(r.shows({27}) << r.el().lab_msg->text(),
                 (QStringList{"1_aspect_panscan_1", "Aspect-Pan&&Scan", "Aspect-Pan&Scan"}));
        QCOMPARE(r.st.hover_button, 27);

        // Moving within the same button reloads nothing.
        const int loads = r.ico(27)->picture_loads();
        r.el().lab_msg->set_caption("other");
        hover_button_move(r.p(), 27);
        QVERIFY(r.ico(27)->picture_loads() == loads && r.caption() == "other");

        // From A straight onto B.
        hover_button_move(r.p(), 9);
        QCOMPARE(r.shows({27, 9}), (QStringList{"1_aspect_panscan_0", "1_scan_under_1", "Underscan"}));

        // Real pointer moves: onto the background and the passive labels the
        // highlight ends, the caption stays.
        for (QWidget* passive : std::initializer_list<QWidget*>{
                 r.el().pic_win, r.el().lab_panel, r.el().lab_msg, r.el().lab_text[2], r.el().img_connect}) {
            hover_button_move(r.p(), 9);
            send_mouse(passive, QEvent::MouseMove);
            QCOMPARE(r.shows({9}), (QStringList{"1_scan_under_0", "Underscan"}));
            QCOMPARE(r.st.hover_button, 99);
        }
        // Option labels do not forward pointer moves.
        hover_button_move(r.p(), 9);
        send_mouse(r.el().lab_opt[0], QEvent::MouseMove);
        QCOMPARE(r.st.hover_button, 9);

        // A pointer move through the button itself, and none through a disabled one.
        send_mouse(r.ico(13), QEvent::MouseMove);
        QVERIFY(r.st.hover_button == 13 && r.caption() == "CV/SV Output");
        hover_leave(r.p());
        r.ico(6)->setEnabled(false);
        send_mouse(r.ico(6), QEvent::MouseMove);
        send_mouse(r.ico(6), QEvent::MouseButtonRelease, Qt::LeftButton);
        QVERIFY(r.st.hover_button == 99 && r.st.pressed_button == 99 && r.picture(6) == "1_sys_reset_0");
    }
};

QV_REGISTER_TEST(TestPagesHover)
#include "tst_pages_hover.moc"
