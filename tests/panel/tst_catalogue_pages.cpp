// The pictures and captions the state calls for (pure functions); each page's elements and hover on the real window.

#include "panel/accessible_names.h"
#include "panel/button_catalogue.h"
#include "panel/captions.h"
#include "panel/hover.h"
#include "widgets/option_label.h"
#include "panel/pages.h"
#include "panel_rig.h"
#include "test_registry.h"

#include <QDir>
#include <QScrollBar>
#include <QSet>

using catalogue::picture_name;

namespace {

QStringList pictures(const SharedState& st, std::initializer_list<int> buttons, bool on = false)
{
    QStringList out;
    for (int i : buttons)
        out << picture_name(i, on, st);
    return out;
}

QStringList captions(const SharedState& st, std::initializer_list<int> buttons)
{
    QStringList out;
    for (int i : buttons)
        out << caption(i, st).value_or("-");
    return out;
}

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

const QSet<int> kAlways = {buttons::tray, buttons::minimise, buttons::close, buttons::com1, buttons::com2};
const QSet<int> kMain =
    kAlways + QSet<int>{buttons::about, buttons::power, buttons::aspect} + range(buttons::sys_reset, buttons::video);
// The return button and the arrow pad.
const QSet<int> kPad = range(buttons::back, buttons::centre);

void send_mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent e(type, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), button,
                  type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

class TestCataloguePages : public QObject {
    Q_OBJECT
private slots:
    void pictures_follow_the_state_in_force()
    {
        SharedState st;
        QCOMPARE(pictures(st, {buttons::sys_reset, buttons::none, 4, 5, 39, -buttons::minimise}), (QStringList{"1_sys_reset_0", "", "", "", "", ""}));
        st.panel_skin = "2";
        QCOMPARE(pictures(st, {buttons::sys_reset, buttons::refresh}, true),
                 (QStringList{"2_sys_reset_1", "refresh_1"}));  // one refresh pair for both skins

        // Scan: any non-zero is overscan, but only 1 makes the pages pan and expand; only 1 is frozen or on; aspect:
        // 0 full, 1 pan and scan, the rest letterbox.
        st.scan_mode = st.freeze_state = st.power_state = 2;
        st.output_yuv = 3;
        st.aspect_mode = 7;
        st.zoom_area = 5;
        QCOMPARE(pictures(st, {buttons::scan, buttons::position, buttons::size_tab, buttons::output, buttons::freeze, buttons::power, buttons::aspect, buttons::zoom_area_button(5), buttons::zoom_area_button(4)}),
                 (QStringList{"2_scan_over_0", "2_move_0", "2_2size_0", "2_out_yuv_0", "2_freeze_off_0",
                              "2_power_off_0", "2_aspect_letterbox_0", "2_zoom5_on_0", "2_zoom4_off_0"}));
        st.zoom_area = 12;
        for (int i = 30; i <= 38; ++i)
            QVERIFY(picture_name(i, false, st).contains("_off_"));

        st.port_open = true;  // COM buttons: "on" only for the configured port while it is open
        QCOMPARE(pictures(st, {buttons::com1, buttons::com2}), (QStringList{"2_com1_on_0", "2_com2_off_0"}));
        st.com_port = 2;
        QCOMPARE(pictures(st, {buttons::com1, buttons::com2}, true), (QStringList{"2_com1_off_1", "2_com2_on_1"}));
    }

    // Every name the panel can build, in any state, is an embedded picture.
    void a_picture_exists_for_every_state()
    {
        const PictureStore store;
        QStringList missing;
        const auto need = [&](const QString& name) {
            if (!store.contains(name))
                missing << name;
        };
        for (const char* skin : {"1", "2"})
            for (int v = 0; v < 3; ++v)
                for (bool open : {false, true}) {
                    SharedState st;
                    st.panel_skin = skin;
                    st.scan_mode = st.output_yuv = st.freeze_state = st.power_state = st.aspect_mode = v;
                    st.zoom_area = 1 + v * 4;
                    st.com_port = 1 + v % 2;
                    st.port_open = open;
                    for (int i = 0; i < buttons::count; ++i)
                        if (catalogue::is_button(i))
                            for (bool on : {false, true})
                                need(picture_name(i, on, st));
                    for (int tab : {buttons::position_tab, buttons::size_tab})
                        need(catalogue::skin_picture(skin, catalogue::stem(tab, st), 2));
                    need(catalogue::connect_picture(skin, open));
                    for (int area = 1; area <= 9; ++area)
                        need(catalogue::zoom_picture(skin, area, true, open));
                }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
        QVERIFY(!store.contains("1_connect_on_1") && !store.contains("1_move_2"));
        QVERIFY(store.contains("1_HELP_0") && !store.image("M_Drag").isNull());  // any case
        for (const QString& file : QDir(":/pictures").entryList())  // the store finds a picture by its lower-case name
            QVERIFY2(file == file.toLower() && file.endsWith(".bmp"), qPrintable(file));

        PictureStore pictures;  // a name without a picture keeps the button's size and says what it stands for
        PictureButton button(3, pictures, nullptr);
        button.set_picture("1_help_0");
        button.set_picture("1_no_such_0");
        QVERIFY(button.size() == QSize(22, 19) && button.toolTip() == "1_no_such_0");
        for (int i = 0; i < buttons::count; ++i)  // each button stands on a whole pixel at 15 twips a pixel
            QVERIFY2(catalogue::design_position(i) / 15 * 15 == catalogue::design_position(i), qPrintable(QString::number(i)));
    }

    void captions_name_the_setting_in_force()
    {
        SharedState st;  // the captions that no click or hover of the window tests shows
        QCOMPARE(captions(st, {buttons::position_tab, buttons::freeze, buttons::centre, buttons::zoom_area_button(9), 4,
                               5, 39, buttons::none, -buttons::minimise}),
                 (QStringList{"Move Picture", "Freeze Off", "Reset", "Zoom Area 9", "-", "-", "-", "-", "-"}));
        st.scan_mode = 5;
        st.freeze_state = 2;
        st.output_yuv = 1;
        QCOMPARE(captions(st, {buttons::scan, buttons::position, buttons::size_tab, buttons::output, buttons::freeze}),
                 (QStringList{"Overscan", "Pan Picture", "Expand Picture", "YPbPr Output", "Freeze On"}));
        st.aspect_mode = -3;
        QCOMPARE(captions(st, {buttons::aspect, buttons::com1, buttons::com2}),
                 (QStringList{"Aspect-Letterbox", "COM1: Off", "COM2: Off"}));
        st.port_open = true;
        QCOMPARE(*caption(buttons::com1, st), QString("COM1: On"));
        QCOMPARE(displayed_text("A&B && C&&"), QString("AB & C&"));
        QVERIFY(access::option_name(-1).isEmpty() && access::option_name(8).isEmpty() && access::slider_name(-1).isEmpty() && access::slider_name(4).isEmpty());
    }

    void each_page_shows_its_own_elements()
    {
        StartedPanel r;
        auto& el = r.el();
        // Buttons, texts, option lines and sliders shown, and the page's title.
        const auto page = [&] {
            return std::make_pair(QList<QSet<int>>{shown(el.img_ico), shown(el.lab_text), shown(el.lab_opt),
                                                   shown(el.hsr_video)}, r.title());
        };
        // What a page shows lies in the window, and nothing hides part of another (the indicator's corner apart).
        const auto tidy = [&] {
            QList<QRect> at;
            for (QWidget* w : r.frm().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!w->isHidden() && w != el.pic_win && w != el.img_connect)
                    at << (r.frm().rect().contains(w->geometry()) ? w->geometry() : r.frm().rect());
            for (int a = 0; a < at.size(); ++a)
                for (int b = a + 1; b < at.size(); ++b)
                    if (at[a].intersects(at[b]))
                        return false;
            return true;
        };
        const auto main = std::make_pair(QList<QSet<int>>{kMain, {}, {}, {}}, QString("MAIN PANEL"));
        QCOMPARE(page(), main);
        QVERIFY(tidy());
        PanelRig unstarted;  // the window shows the main page from the first
        QCOMPARE(shown(unstarted.el().img_ico), kMain);
        QVERIFY(!el.img_connect->isHidden() && r.frm().findChildren<OptionLabel*>().size() == 8);
        const struct { int button; QList<QSet<int>> shows; QString title; } pages[] = {
            {buttons::about, {kAlways + QSet<int>{buttons::back}, {0, 1}, {}, {}}, "ABOUT PANEL"},
            {buttons::options, {kAlways + QSet<int>{buttons::back}, range(0, 3), range(0, 7), {}}, "OPTION PANEL"},
            {buttons::video, {kAlways + QSet<int>{buttons::back, buttons::video_reset}, range(0, 3), {}, range(0, 3)},
             "VIDEO SETTING PANEL"},
            {buttons::position, {kAlways + kPad + QSet<int>{buttons::position_tab, buttons::size_tab}, {}, {}, {}},
             "POSITION PANEL"},
            {buttons::zoom, {kAlways + kPad + range(buttons::first_zoom_area, buttons::last_zoom_area), {}, {}, {}},
             "ZOOM PANEL"},
        };
        for (const auto& p : pages) {
            r.click(p.button);
            QCOMPARE(page(), std::make_pair(p.shows, p.title));
            QVERIFY2(tidy(), qPrintable(p.title));
            r.click(buttons::back);
            QCOMPARE(page(), main);
        }
        show_panel_icons(r.p(), false);  // the main group hidden and back
        QCOMPARE(shown(el.img_ico), (kAlways + QSet<int>{buttons::about}));
        show_main_panel(r.p());
        QCOMPARE(shown(el.img_ico), kMain);

        r.st.aspect_mode = 1;  // hover highlights and captions buttons
        hover_button_move(r.p(), buttons::aspect);
        QCOMPARE(r.shows({buttons::aspect}) << r.el().lab_msg->text() << QString::number(r.st.hover_button),
                 (QStringList{"1_aspect_panscan_1", "Aspect-Pan&&Scan", "Aspect-Pan&Scan",
                              QString::number(buttons::aspect)}));

        const int loads = r.ico(buttons::aspect)->picture_loads();  // moving within the same button reloads nothing
        r.el().lab_msg->set_caption("other");
        hover_button_move(r.p(), buttons::aspect);
        QVERIFY(r.ico(buttons::aspect)->picture_loads() == loads && r.caption() == "other");

        hover_button_move(r.p(), buttons::scan);  // from A straight onto B
        QCOMPARE(r.shows({buttons::aspect, buttons::scan}), (QStringList{"1_aspect_panscan_0", "1_scan_under_1", "Underscan"}));

        // Real pointer moves: onto the background and the passive labels the highlight ends, the caption stays.
        for (QWidget* passive : std::initializer_list<QWidget*>{
                 r.el().pic_win, r.el().lab_panel, r.el().lab_msg, r.el().lab_text[2], r.el().img_connect}) {
            hover_button_move(r.p(), buttons::scan);
            send_mouse(passive, QEvent::MouseMove);
            QCOMPARE(r.shows({buttons::scan}) << QString::number(r.st.hover_button),
                     (QStringList{"1_scan_under_0", "Underscan", QString::number(buttons::none)}));
        }
        hover_button_move(r.p(), buttons::scan);  // option labels do not forward pointer moves
        send_mouse(r.el().lab_opt[0], QEvent::MouseMove);
        QCOMPARE(r.st.hover_button, buttons::scan);

        // A pointer move through the button itself, and none through a disabled one.
        send_mouse(r.ico(buttons::output), QEvent::MouseMove);
        QVERIFY(r.st.hover_button == buttons::output && r.caption() == "CV/SV Output");
        hover_leave(r.p());
        r.ico(buttons::sys_reset)->setEnabled(false);
        const int sent = r.sent().size();
        send_mouse(r.ico(buttons::sys_reset), QEvent::MouseMove);
        send_mouse(r.ico(buttons::sys_reset), QEvent::MouseButtonRelease, Qt::LeftButton);
        QVERIFY(r.st.hover_button == buttons::none && r.sent().size() == sent && r.picture(buttons::sys_reset) == "1_sys_reset_0");
    }
};

QV_REGISTER_TEST(TestCataloguePages)
#include "tst_catalogue_pages.moc"
