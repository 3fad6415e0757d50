// Start-up, synchronisation, system reset, the box's own messages and clients' commands, on virtual time.

#include "panel/client_command.h"
#include "widgets/option_label.h"
#include "panel/option_lines.h"
#include "panel/pages.h"
#include "panel/state_sync.h"
#include "panel/video_sliders.h"
#include "panel_rig.h"
#include "test_registry.h"

#include <QScrollBar>

namespace {

const QString kOff = "1_connect_off_0";

// What a client's command sent, then its reply and its ready message; in `ms`, how long it took.
QStringList run(PanelRig& r, const QString& command, qint64* ms = nullptr)
{
    const int from = r.sent().size();
    const qint64 start = r.clock.now;
    const ClientAnswer answer = run_client_command(r.p(), command);
    if (ms)
        *ms = r.clock.now - start;
    return r.sent_since(from) << answer.reply << answer.ready;
}

}  // namespace

class TestSyncDispatch : public QObject {
    Q_OBJECT
private slots:
    void startup_asks_what_the_box_can_answer()
    {
        const QString on = "1_power_on_0", off = "1_power_off_0", lit = "1_connect_on_0", main = "MAIN PANEL";
        const QStringList asked = {"VER999", "PWR999"};
        // The box, then what start-up sent, and the power picture, message line, indicator and page shown.
        const struct { QString box; QStringList sent, shown; bool modes; } cases[] = {
            {"on", asked + kModeQueries, {on, "Good Day !", lit, main}, true},
            {"off", asked, {off, "Good Day !", lit, main}, false},
            {"zoom", asked + kModeQueries + QStringList{"ARA999"}, {on, "Zoom", lit, "ZOOM PANEL"}, true},
            {"silent", {"VER999"}, {off, "Scan Converter not ready", kOff, main}, false},
        };
        for (const auto& c : cases) {
            BoxConfig config;
            config.power_on = c.box != "off";
            config.zoom_mode = c.box == "zoom";
            config.answer_commands = c.box != "silent";
            PanelRig r(config);
            r.box.receive("ASP002SCN001FMT001FRZ001NPO001", 0);
            enable_icons(r.p(), false);  // as a box found off before would leave them
            r.start();
            QCOMPARE(QStringList{c.box} + r.sent() + r.shows({buttons::power}) << r.indicator() << r.title(),
                     QStringList{c.box} + c.sent + c.shown);
            QVERIFY2(r.modes_enabled(c.modes), qPrintable(c.box));
            if (c.box != "on")
                continue;
            QVERIFY(r.st.firmware_version == 105 && r.st.tv_system == 1 && r.link().polling());
            QCOMPARE(r.pictures_of({buttons::aspect, buttons::scan, buttons::position, buttons::output, buttons::freeze}),
                     (QStringList{"1_aspect_letterbox_0", "1_scan_over_0", "1_pan_0", "1_out_yuv_0", "1_freeze_on_0"}));
        }
    }

    void startup_with_the_port_missing_sends_nothing()
    {
        PanelRig r;
        r.port.present = {};
        r.start();
        QVERIFY(r.sent().isEmpty() && !r.link().polling());
        QVERIFY(r.messages == QStringList{"PC error on COM1: !"} && r.details[0].contains("No such file or directory"));
        QCOMPARE(r.shows({buttons::com1, buttons::com2}) << r.indicator(),
                 (QStringList{"1_com1_off_0", "1_com2_off_0", "COM port error !", kOff}));  // nothing answers
        r.port.present = {2};  // the other port's button opens that one
        r.click(buttons::com2);
        QVERIFY(r.st.port_open && r.st.com_port == 2 && r.link().polling()
                && r.picture(buttons::com2) == "1_com2_on_0");
        r.link().tx_cmd("VER999");  // answered, then the port is lost to a failed open
        r.port.present = {};
        r.click(buttons::com2);
        QCOMPARE(r.indicator(), kOff);
    }

    void system_reset_from_the_panel_and_from_the_box()
    {
        StartedPanel r;
        QCOMPARE(r.click(buttons::sys_reset) << r.caption(), QStringList{"RST000"} + kModeQueries << "System Reset");
        QVERIFY(r.st.current_page == pages::main && r.modes_enabled(true));

        r.port.unanswered << "RST000";  // unanswered: no ready wait, no queries, buttons back
        const qint64 t0 = r.clock.now;
        QCOMPARE(r.click(buttons::sys_reset), QStringList{"RST000"});
        QVERIFY(r.clock.now - t0 < 1000 && r.modes_enabled(true) && r.st.current_page == pages::main);

        r.click(buttons::video);  // reported by the box: nothing sent back; the reset begins with the wait
        r.port.arrive_in(200, "RDY000");
        QCOMPARE(r.box_says("RST000"), kModeQueries);
        QCOMPARE(r.title() + ", " + r.caption(), QString("MAIN PANEL, System Reset"));
        QVERIFY(r.st.current_page == pages::main && r.link().polling() && r.link().dispatch_idle());

        r.box.receive("ASP001SCN001FMT001", 0);  // a missing reply cuts the queries short
        r.st.aspect_mode = r.st.scan_mode = r.st.output_yuv = 0;
        r.port.unanswered << "FMT999";
        const int from = r.sent().size();
        query_states(r.p());
        QCOMPARE(r.sent_since(from) << r.indicator(), (QStringList{"ASP999", "SCN999", "FMT999", kOff}));
        QCOMPARE((QList<int>{r.st.aspect_mode, r.st.scan_mode, r.st.output_yuv}), (QList<int>{1, 1, 0}));
    }

    void box_messages_update_the_panel()
    {
        StartedPanel r;
        const int before = r.sent().size();
        for (const char* message : {"ASP001", "FMT001", "FRZ001", "SCN001", "SHA007", "VER123"})
            r.box_says(message);
        QCOMPARE(r.shows({buttons::aspect, buttons::output, buttons::freeze, buttons::scan, buttons::position, buttons::size}), (QStringList{"1_aspect_panscan_0", "1_out_yuv_0", "1_freeze_on_0",
                                                              "1_scan_over_0", "1_pan_0", "1_expand_0", "Overscan"}));
        QCOMPARE((QList<int>{r.st.aspect_mode, r.st.sharpness_level, r.st.firmware_version}), (QList<int>{1, 7, 123}));

        const int loads = r.ico(buttons::zoom_area_button(5))->picture_loads();  // stored off the zoom page; 10 ignored
        r.box_says("ARA005");
        r.box_says("ARA010");
        QVERIFY(r.st.zoom_area == 5 && r.ico(buttons::zoom_area_button(5))->picture_loads() == loads);

        r.box_says("CON040");  // levels are stored; the slider moves only on the video page
        QVERIFY(r.st.contrast_level == 40 && r.el().hsr_video[0]->value() == 0);

        r.box_says("MVU001");  // ignored and unknown messages still light the indicator
        r.box_says("XYZ123");
        QVERIFY(r.indicator() == "1_connect_on_0" && r.link().receive_log().text().endsWith("MVU001 XYZ123 "));
        QCOMPARE(r.sent().size(), before);  // nothing above sends a command

        r.box_says("PWR");  // a part of a message: "NONE" after the gap, indicator off
        QVERIFY(r.link().receive_log().text().endsWith("NONE ") && r.link().polling() && r.indicator() == kOff);

        r.click(buttons::video);  // on the video and option pages
        QStringList echoed;
        for (const char* message : {"CON040", "FLK000", "BRI200", "SAT070"})
            echoed += r.box_says(message);
        const auto& slider = r.el().hsr_video;
        QCOMPARE((QList<int>{slider[0]->value(), slider[1]->value(), slider[2]->value(), slider[3]->value()}),
                 (QList<int>{40, 200, 32, 0}));  // 70 is out of range: stored, slider left alone
        QVERIFY(r.st.color_level == 70 && echoed.isEmpty());  // no echo to the box

        r.port.arrive_in(100, "RDY000");
        QCOMPARE(r.box_says("RST003") << r.caption(),
                 (QStringList{"CON999", "BRI999", "SAT999", "FLK999", "SHA999", "Video Reset"}));
        r.click(buttons::back);
        r.port.arrive_in(100, "RDY000");
        QCOMPARE(r.box_says("RST003") << r.caption(), QStringList{"Video Reset"});  // not on the video page: no queries

        r.click(buttons::options);  // the option lines follow the box: TV system 0 or 1 (7 ignored), test pattern
        const auto& opt = r.el().lab_opt;
        QStringList shown;  // lines 0, 1, 4 and 5 chosen after each message
        for (const QByteArray message : {"NPO001", "NPO007", "NPO000", "PAT001", "PAT000"}) {
            if (message == "PAT000")
                r.port.arrive_in(100, "RDY000");
            r.box_says(message);
            shown << QString();
            for (int i : {0, 1, 4, 5})
                shown.last() += opt[i]->chosen() ? '1' : '0';
        }
        QCOMPARE(shown << r.caption(), (QStringList{"0101", "0101", "1001", "1010", "1001", "Test Pattern Off"}));

        r.box_says("PWR000");  // on the option page: back to the main page
        QVERIFY(r.st.power_state == 0 && r.st.current_page == pages::main && r.modes_enabled(false));
        QCOMPARE(r.shows({buttons::power}), (QStringList{"1_power_off_0", "Power Off"}));

        r.port.arrive_in(300, "RDY000");
        QCOMPARE(r.box_says("PWR001") << r.caption(), kModeQueries + QStringList{"Power On"});
        QVERIFY(r.modes_enabled(true));
        r.box_says("PWR001");  // without a ready message: indicator off, buttons back
        QVERIFY(r.indicator() == kOff && r.modes_enabled(true));

        r.port.arrive_in(300, "RDY000");
        bool locked = false;  // while the box switches, so do the modes and power
        r.on_events = [&] { locked = locked || (!r.ico(buttons::scan)->isEnabled() && !r.ico(buttons::power)->isEnabled()); };
        QCOMPARE(r.box_says("ZOM001"), QStringList{"ARA999"});
        r.on_events = nullptr;
        QVERIFY(locked && r.st.current_page == pages::zoom && r.caption() == "Zoom");
        r.box_says("ARA003");  // on the zoom page the chosen area moves at once
        QCOMPARE(r.pictures_of({buttons::zoom_area_button(1), buttons::zoom_area_button(3)}), (QStringList{"1_zoom1_off_0", "1_zoom3_on_0"}));
        r.port.arrive_in(300, "RDY000");
        r.box_says("ZOM000");
        QVERIFY(r.st.current_page == pages::main && r.modes_enabled(true));

        r.box_says("FRZ000");  // a client's command: the panel takes in what it changed
        QCOMPARE(run(r, "FRZ001") << r.picture(buttons::freeze), QStringList({"FRZ001", "FRZ001", "", "1_freeze_on_0"}));
        QVERIFY(r.link().polling() && r.link().dispatch_idle());
        QCOMPARE(run(r, "PWR000") << r.picture(buttons::power), QStringList({"PWR000", "PWR000", "", "1_power_off_0"}));
        QVERIFY(!r.ico(buttons::scan)->isEnabled() && !r.ico(buttons::aspect)->isEnabled() && r.ico(buttons::magnifier)->isEnabled());

        qint64 ms = 0;  // switched on by a script: one ready wait, taken by the command, then the panel resynchronises
        r.link().receive_log().clear();
        QCOMPARE(run(r, "PWR001", &ms), (QStringList{"PWR001"} + kModeQueries + QStringList{"PWR001", "RDY000"}));
        QVERIFY(ms < 1000 && r.link().receive_log().text().count("RDY000") == 1 && r.ico(buttons::scan)->isEnabled());

        QCOMPARE(run(r, "RST000"), (QStringList{"RST000"} + kModeQueries + QStringList{"RST000", "RDY000"}));
        QCOMPARE(r.st.current_page, pages::main);  // the box's reset, taken in: resynchronised, not reset twice
        QCOMPARE(run(r, "PAT000").mid(2) << r.caption(), (QStringList{"RDY000", "Test Pattern Off"}));

        // Queries: no 5 s wait for a ready that never comes, and nothing taken in (the panel's copy may be behind).
        r.st.power_state = 0;
        for (const char* query : {"PWR999", "ZOM999", "PAT999", "RST999"}) {
            const QStringList out = run(r, query, &ms);
            QVERIFY2(out.size() == 3 && out[0] == query && out[2].isEmpty() && ms < 1000, query);
        }
        QCOMPARE(r.st.power_state, 0);

        r.port.unanswered << "FRZ001" << "PAT000";  // unlike the button's, nothing changed
        QCOMPARE(run(r, "FRZ001") << r.picture(buttons::freeze), QStringList({"FRZ001", "NONE", "", "1_freeze_off_0"}));

        // A slow command answered with a value needing no ready wait: its ready is still awaited, "*** WAIT ***" goes.
        r.port.arrive_in(20, "PAT001");
        r.port.arrive_in(200, "RDY000");
        QCOMPARE(run(r, "PAT000").last(), QString("RDY000"));
        QVERIFY(r.st.test_pattern == 1 && r.caption() != "*** WAIT ***");
    }

    void a_late_reply_is_taken_as_a_message_of_the_box()
    {
        BoxConfig slow;
        slow.reply_delay_ms = 400;
        slow.power_on = false;
        StartedPanel r(slow);
        QCOMPARE(r.sent(), QStringList{"VER999"});  // the late VER reply missed, then taken as a message
        r.clock.advance(200);
        tim_rx_tick(r.p());
        QCOMPARE(r.st.firmware_version, 105);
        r.click(buttons::power);  // its reply comes too late: nothing changes until the poll timer acts on it
        QCOMPARE(r.st.power_state, 0);
        r.clock.advance(200);
        tim_rx_tick(r.p());
        QCOMPARE(r.picture(buttons::power), QString("1_power_on_0"));
    }

    // Clients' commands rely on it: taking in a message waits for a ready message exactly when waits_for_ready says.
    void the_dispatcher_waits_exactly_when_it_says()
    {
        BoxConfig no_ready;
        no_ready.send_ready = false;
        for (const char* message : {"PWR000", "PWR001", "PWR002", "PAT000", "PAT001", "RST000", "RST001",
                                    "RST003", "ZOM000", "ZOM001", "FRZ001", "SCN001", "ARA005", "XYZ123"}) {
            StartedPanel r(no_ready);
            const qint64 start = r.clock.now;
            r.box_says(message);
            const QString m = QString::fromLatin1(message);
            QVERIFY2((r.clock.now - start >= DeviceLink::kReadyWaitMs) == waits_for_ready(m.left(3), m.right(3).toInt()),
                     message);
        }
    }

    // Clients run between routines only: a routine that lets window events run without the gate lets commands in.
    void window_events_run_only_inside_marked_routines()
    {
        PanelRig r;
        int passes = 0, unmarked = 0;
        const auto check = [&] { ++passes, unmarked += !r.link().routines().busy(); };
        r.on_events = check;
        r.env.process_events_for = [&](int ms) { check(), r.clock.advance(ms); };
        r.start();
        for (int i = 0; i <= 38; ++i) {
            if (i == 2)
                continue;  // close
            r.frm().show();
            r.click(i, true);
            r.click(buttons::back);  // back to the main page
        }
        r.click(buttons::options);
        for (int i = 0; i < 8; ++i)
            option_clicked(r.p(), i);
        r.click(buttons::video);
        for (QScrollBar* slider : r.el().hsr_video) {
            slider->setValue(slider->value() + 1);
            slider->setTracking(false);  // the thumb moves ahead of the value
            slider->setSliderPosition(slider->value() + 1);
        }
        for (int i = 0; i < 4; ++i)
            hsr_video_Scroll(r.p(), i);
        for (const char* message : {"PWR001", "RST000", "RST003", "ZOM001", "PAT000", "CON020"})
            r.box_says(message);
        run_client_command(r.p(), "PWR001");
        resynchronise(r.p());  // after a device came back
        QVERIFY(passes > 100);
        QCOMPARE(unmarked, 0);
    }
};

QV_REGISTER_TEST(TestSyncDispatch)
#include "tst_sync_dispatch.moc"
