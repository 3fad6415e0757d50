// Picture names and captions: pure functions of the state.

#include "core/shared_state.h"
#include "panel/button_catalogue.h"
#include "panel/captions.h"
#include "panel/picture_button.h"
#include "platform/picture_store.h"
#include "test_registry.h"

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

}  // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void pictures_follow_the_state_in_force()
    {
        SharedState st;
        QCOMPARE(pictures(st, {6, 99, 4, 5, 39, -1}), (QStringList{"1_sys_reset_0", "", "", "", "", ""}));
        QCOMPARE(picture_name(6, true, st), QString("1_sys_reset_1"));
        st.panel_skin = "2";
        QCOMPARE(picture_name(22, true, st), QString("refresh_1"));  // one pair for both skins

        // Scan: any non-zero is overscan, but only 1 makes the pages pan and
        // expand; only 1 is frozen or on; aspect: 0 full, 1 pan and scan, the rest letterbox.
        st.scan_mode = 2;
        st.output_yuv = 3;
        st.freeze_state = st.power_state = 2;
        st.aspect_mode = 7;
        st.zoom_area = 5;
        QCOMPARE(pictures(st, {9, 11, 24, 13, 14, 26, 27, 34, 33}),
                 (QStringList{"2_scan_over_0", "2_move_0", "2_2size_0", "2_out_yuv_0", "2_freeze_off_0",
                              "2_power_off_0", "2_aspect_letterbox_0", "2_zoom5_on_0", "2_zoom4_off_0"}));
        st.scan_mode = st.freeze_state = st.power_state = st.aspect_mode = 1;
        QCOMPARE(pictures(st, {11, 12, 23, 24, 14, 26, 27}),
                 (QStringList{"2_pan_0", "2_expand_0", "2_2pan_0", "2_2expand_0", "2_freeze_on_0", "2_power_on_0",
                              "2_aspect_panscan_0"}));
        st.scan_mode = st.aspect_mode = 0;
        QCOMPARE(pictures(st, {9, 27}), (QStringList{"2_scan_under_0", "2_aspect_full_0"}));
        st.zoom_area = 12;
        for (int i = 30; i <= 38; ++i)
            QVERIFY(picture_name(i, false, st).contains("_off_"));

        // COM buttons: "on" only for the configured port while it is open.
        st.com_port = 1;
        st.port_open = false;
        QCOMPARE(pictures(st, {28, 29}), (QStringList{"2_com1_off_0", "2_com2_off_0"}));
        st.port_open = true;
        QCOMPARE(picture_name(28, false, st), QString("2_com1_on_0"));
        st.com_port = 2;
        QCOMPARE(pictures(st, {28, 29}, true), (QStringList{"2_com1_off_1", "2_com2_on_1"}));
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
                    for (int i = 0; i < catalogue::kButtons; ++i)
                        if (catalogue::is_button(i))
                            for (bool on : {false, true})
                                need(picture_name(i, on, st));
                    for (int tab : {23, 24})
                        need(catalogue::skin_picture(skin, catalogue::stem(tab, st), 2));
                    need(catalogue::connect_picture(skin, open));
                    for (int area = 1; area <= 9; ++area)
                        need(catalogue::zoom_picture(skin, area, true, open));
                }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
        QVERIFY(!store.contains("1_connect_on_1") && !store.contains("1_move_2"));

        // A name without a picture keeps the button's size and says what it stands for.
        PictureStore pictures;
        PictureButton button(3, pictures, nullptr);
        button.set_picture("1_help_0");
        button.set_picture("1_no_such_0");
        QCOMPARE(button.size(), QSize(22, 19));
        QCOMPARE(button.toolTip(), QString("1_no_such_0"));
    }

    void buttons_shown_together_never_overlap()
    {
        // The main page's buttons, at 15 twips a pixel, never hide part of one another.
        PictureStore store;
        const SharedState st;
        const auto shown = [](int i) { return catalogue::is_button(i) && catalogue::shown_at_start(i); };
        const auto rect = [&](int i) {
            return QRect(catalogue::design_position(i) / 15, store.pixmap(picture_name(i, false, st)).size());
        };
        for (int a = 0; a < catalogue::kButtons; ++a)
            for (int b = a + 1; b < catalogue::kButtons; ++b)
                QVERIFY2(!shown(a) || !shown(b) || !rect(a).intersects(rect(b)),
                         qPrintable(QString("%1, %2").arg(a).arg(b)));
        QVERIFY(catalogue::shown_at_start(3) && !catalogue::shown_at_start(16) && !catalogue::shown_at_start(22));
        QVERIFY(catalogue::tooltip(22) == "Refresh" && catalogue::tooltip(6).isEmpty());
    }

    void captions_name_the_setting_in_force()
    {
        SharedState st;
        QCOMPARE(captions(st, {9, 23, 12, 13, 14, 26, 15, 21, 30, 38, 4, 5, 39, 99, -1}),
                 (QStringList{"Underscan", "Move Picture", "Size Picture", "CV/SV Output", "Freeze Off",
                              "Power Off", "Video Settings Reset", "Reset", "Zoom Area 1", "Zoom Area 9",
                              "-", "-", "-", "-", "-"}));
        st.scan_mode = 5;
        st.output_yuv = 1;
        st.freeze_state = 2;
        st.power_state = 1;
        st.aspect_mode = 1;
        QCOMPARE(captions(st, {9, 11, 24, 13, 14, 26, 27}),
                 (QStringList{"Overscan", "Pan Picture", "Expand Picture", "YPbPr Output", "Freeze On",
                              "Power On", "Aspect-Pan&&Scan"}));
        QCOMPARE(displayed_text(*caption(27, st)), QString("Aspect-Pan&Scan"));
        st.aspect_mode = -3;
        QCOMPARE(*caption(27, st), QString("Aspect-Letterbox"));
        st.com_port = 1;
        st.port_open = false;
        QCOMPARE(captions(st, {28, 29}), (QStringList{"COM1: Off", "COM2: Off"}));
        st.port_open = true;
        QCOMPARE(*caption(28, st), QString("COM1: On"));
        QCOMPARE(displayed_text("A&B && C&&"), QString("AB & C&"));
    }
};

QV_REGISTER_TEST(TestCatalogue)
#include "tst_catalogue.moc"
