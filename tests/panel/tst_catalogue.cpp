// Picture names and captions: pure functions of the state.

#include "core/shared_state.h"
#include "panel/button_catalogue.h"
#include "panel/captions.h"
#include "platform/picture_store.h"
#include "test_registry.h"

using catalogue::picture_name;

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void pictures_follow_the_state_in_force()
    {
        SharedState st;
        QCOMPARE(picture_name(6, false, st), QString("1_sys_reset_0"));
        QCOMPARE(picture_name(6, true, st), QString("1_sys_reset_1"));
        QVERIFY(picture_name(99, true, st).isEmpty());
        QVERIFY(picture_name(4, true, st).isEmpty());
        QVERIFY(picture_name(5, false, st).isEmpty());
        QVERIFY(picture_name(39, false, st).isEmpty());
        QVERIFY(picture_name(-1, false, st).isEmpty());

        st.panel_skin = "2";
        QCOMPARE(picture_name(22, true, st), QString("refresh_1"));  // one pair for both skins

        st.scan_mode = 1;
        QCOMPARE(picture_name(9, false, st), QString("2_scan_over_0"));
        QCOMPARE(picture_name(11, false, st), QString("2_pan_0"));
        QCOMPARE(picture_name(12, false, st), QString("2_expand_0"));
        QCOMPARE(picture_name(23, false, st), QString("2_2pan_0"));
        QCOMPARE(picture_name(24, false, st), QString("2_2expand_0"));
        st.scan_mode = 2;  // scan: any non-zero is overscan; pages: only 1 is
        QCOMPARE(picture_name(9, false, st), QString("2_scan_over_0"));
        QCOMPARE(picture_name(11, false, st), QString("2_move_0"));
        QCOMPARE(picture_name(24, false, st), QString("2_2size_0"));
        st.scan_mode = 0;
        QCOMPARE(picture_name(9, false, st), QString("2_scan_under_0"));

        st.aspect_mode = 1;
        QCOMPARE(picture_name(27, false, st), QString("2_aspect_panscan_0"));
        st.aspect_mode = 7;
        QCOMPARE(picture_name(27, false, st), QString("2_aspect_letterbox_0"));
        st.aspect_mode = 0;
        QCOMPARE(picture_name(27, false, st), QString("2_aspect_full_0"));

        st.output_yuv = 3;
        QCOMPARE(picture_name(13, false, st), QString("2_out_yuv_0"));
        st.freeze_state = 2;  // only 1 is frozen
        QCOMPARE(picture_name(14, false, st), QString("2_freeze_off_0"));
        st.freeze_state = 1;
        QCOMPARE(picture_name(14, false, st), QString("2_freeze_on_0"));
        st.power_state = 1;
        QCOMPARE(picture_name(26, false, st), QString("2_power_on_0"));
        st.power_state = 2;
        QCOMPARE(picture_name(26, false, st), QString("2_power_off_0"));

        st.zoom_area = 5;
        QCOMPARE(picture_name(34, false, st), QString("2_zoom5_on_0"));
        QCOMPARE(picture_name(33, false, st), QString("2_zoom4_off_0"));
        st.zoom_area = 12;
        for (int i = 30; i <= 38; ++i)
            QVERIFY(picture_name(i, false, st).contains("_off_"));

        // COM buttons: "on" only for the configured port while it is open.
        st.com_port = 1;
        st.port_open = false;
        QCOMPARE(picture_name(28, false, st), QString("2_com1_off_0"));
        QCOMPARE(picture_name(29, false, st), QString("2_com2_off_0"));
        st.port_open = true;
        QCOMPARE(picture_name(28, false, st), QString("2_com1_on_0"));
        st.com_port = 2;
        QCOMPARE(picture_name(28, false, st), QString("2_com1_off_0"));
        QCOMPARE(picture_name(29, true, st), QString("2_com2_on_1"));

        QCOMPARE(catalogue::connect_picture("1", false), QString("1_connect_off_0"));
        QCOMPARE(catalogue::zoom_picture("1", 9, true, 0), QString("1_zoom9_on_0"));
        QCOMPARE(catalogue::skin_picture("1", "2move", 2), QString("1_2move_2"));
    }

    void design_positions_place_buttons_in_twips()
    {
        QCOMPARE(catalogue::design_position(26), QPoint(495, 645));
        QCOMPARE(catalogue::design_position(30), QPoint(1725, 360));
        // The main page's buttons, at 15 twips a pixel, never hide part of one another.
        PictureStore pictures;
        const SharedState st;
        const auto shown = [](int i) { return catalogue::is_button(i) && catalogue::shown_at_start(i); };
        const auto rect = [&](int i) {
            return QRect(catalogue::design_position(i) / 15, pictures.pixmap(picture_name(i, false, st)).size());
        };
        for (int a = 0; a < catalogue::kButtons; ++a)
            for (int b = a + 1; b < catalogue::kButtons; ++b)
                QVERIFY2(!shown(a) || !shown(b) || !rect(a).intersects(rect(b)),
                         qPrintable(QString("%1, %2").arg(a).arg(b)));
        QVERIFY(catalogue::shown_at_start(3));
        QVERIFY(!catalogue::shown_at_start(16));
        QVERIFY(!catalogue::shown_at_start(22));
        QCOMPARE(catalogue::tooltip(22), QString("Refresh"));
        QVERIFY(catalogue::tooltip(6).isEmpty());
    }

    void captions_name_the_setting_in_force()
    {
        SharedState st;
        QCOMPARE(*caption(9, st), QString("Underscan"));
        st.scan_mode = 5;
        QCOMPARE(*caption(9, st), QString("Overscan"));
        QCOMPARE(*caption(11, st), QString("Pan Picture"));
        QCOMPARE(*caption(24, st), QString("Expand Picture"));
        st.scan_mode = 0;
        QCOMPARE(*caption(23, st), QString("Move Picture"));
        QCOMPARE(*caption(12, st), QString("Size Picture"));
        QCOMPARE(*caption(13, st), QString("CV/SV Output"));
        st.output_yuv = 1;
        QCOMPARE(*caption(13, st), QString("YPbPr Output"));
        QCOMPARE(*caption(14, st), QString("Freeze Off"));
        st.freeze_state = 2;
        QCOMPARE(*caption(14, st), QString("Freeze On"));
        QCOMPARE(*caption(26, st), QString("Power Off"));
        st.power_state = 1;
        QCOMPARE(*caption(26, st), QString("Power On"));
        st.aspect_mode = 1;
        QCOMPARE(*caption(27, st), QString("Aspect-Pan&&Scan"));
        QCOMPARE(displayed_text(*caption(27, st)), QString("Aspect-Pan&Scan"));
        st.aspect_mode = -3;
        QCOMPARE(*caption(27, st), QString("Aspect-Letterbox"));
        st.com_port = 1;
        st.port_open = false;
        QCOMPARE(*caption(28, st), QString("COM1: Off"));
        QCOMPARE(*caption(29, st), QString("COM2: Off"));
        st.port_open = true;
        QCOMPARE(*caption(28, st), QString("COM1: On"));
        QCOMPARE(*caption(30, st), QString("Zoom Area 1"));
        QCOMPARE(*caption(38, st), QString("Zoom Area 9"));
        QCOMPARE(*caption(15, st), QString("Video Settings Reset"));
        QCOMPARE(*caption(21, st), QString("Reset"));
        for (int none : {4, 5, 39, 99, -1})
            QVERIFY(!caption(none, st));
        QCOMPARE(displayed_text("A&B && C&"), QString("AB & C"));
    }
};

QV_REGISTER_TEST(TestCatalogue)
#include "tst_catalogue.moc"
