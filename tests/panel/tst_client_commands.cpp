// A client's command run as one of the panel's routines, on virtual time:
// the panel takes in what it changed, waits for a ready message only when
// one comes, and no routine lets window events run unmarked.

#include "panel/client_command.h"
#include "panel/option_lines.h"
#include "panel/press_dispatch.h"
#include "panel/state_sync.h"
#include "panel/video_sliders.h"
#include "panel_rig.h"
#include "test_registry.h"

#include <QScrollBar>

namespace {

const QStringList kModeQueries = {"ASP999", "SCN999", "FMT999", "FRZ999", "NPO999", "PAT999", "ZOM999"};

// What a client's command sent, then its reply and its ready message; in
// `ms`, how long it took.
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

class TestClientCommands : public QObject {
    Q_OBJECT
private slots:
    void the_panel_takes_in_what_a_command_changed()
    {
        PanelRig r;
        r.start();
        QCOMPARE(run(r, "FRZ001"), QStringList({"FRZ001", "FRZ001", ""}));
        QCOMPARE(r.picture(14), QString("1_freeze_on_0"));
        QVERIFY(r.link().polling() && r.link().dispatch_idle);

        QCOMPARE(run(r, "PWR000"), QStringList({"PWR000", "PWR000", ""}));
        QCOMPARE(r.picture(26), QString("1_power_off_0"));
        QVERIFY(!r.ico(9)->isEnabled() && !r.ico(27)->isEnabled() && r.ico(8)->isEnabled());

        // Switched on by a script: one ready wait, taken by the command, and
        // the panel's own resynchronisation after it.
        qint64 ms = 0;
        QCOMPARE(run(r, "PWR001", &ms), (QStringList{"PWR001"} + kModeQueries + QStringList{"PWR001", "RDY000"}));
        QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
        QCOMPARE(r.link().receive_log().text().count("RDY000"), 1);
        QVERIFY(r.ico(9)->isEnabled());

        // The box's reset, taken in: resynchronised, not reset twice.
        QCOMPARE(run(r, "RST000"), (QStringList{"RST000"} + kModeQueries + QStringList{"RST000", "RDY000"}));
        QCOMPARE(r.st.current_page, 99);
        QCOMPARE(run(r, "PAT000").last(), QString("RDY000"));
        QCOMPARE(r.caption(), QString("Test Pattern Off"));

        // Queries: no 5 s wait for a ready that never comes, and nothing
        // taken in (the panel's copy may be behind).
        r.st.power_state = 0;
        for (const char* query : {"PWR999", "ZOM999", "PAT999", "RST999"}) {
            const QStringList out = run(r, query, &ms);
            QVERIFY2(out.size() == 3 && out[0] == query && out[2].isEmpty() && ms < 1000, query);
        }
        QCOMPARE(r.st.power_state, 0);

        r.port.unanswered << "FRZ001" << "PAT000";
        QCOMPARE(run(r, "FRZ001"), QStringList({"FRZ001", "NONE", ""}));
        QCOMPARE(r.picture(14), QString("1_freeze_off_0"));  // unlike the button, nothing changed

        // A slow command answered with a value that needs no ready wait: its
        // ready message is still awaited, and "*** WAIT ***" does not stay.
        r.port.arrive_in(20, "PAT001");
        r.port.arrive_in(200, "RDY000");
        QCOMPARE(run(r, "PAT000").last(), QString("RDY000"));
        QVERIFY(r.st.test_pattern == 1 && r.caption() != "*** WAIT ***");
    }

    // The client's command relies on this: taking in a message waits for a
    // ready message exactly when waits_for_ready says so.
    void the_dispatcher_waits_exactly_when_it_says()
    {
        BoxConfig no_ready;
        no_ready.send_ready = false;
        for (const char* message : {"PWR000", "PWR001", "PWR002", "PAT000", "PAT001", "RST000", "RST001",
                                    "RST003", "ZOM000", "ZOM001", "FRZ001", "SCN001", "ARA005", "XYZ123"}) {
            PanelRig r(no_ready);
            r.start();
            const qint64 start = r.clock.now;
            r.box_says(message);
            const QString m = QString::fromLatin1(message);
            QVERIFY2((r.clock.now - start >= DeviceLink::kReadyWaitMs) == waits_for_ready(m.left(3), m.right(3).toInt()),
                     message);
        }
    }

    // Clients run between routines only: every routine that lets window
    // events run must hold the gate, or a client's command could slip in.
    void window_events_run_only_inside_marked_routines()
    {
        PanelRig r;
        int passes = 0;
        int unmarked = 0;
        const auto check = [&] { ++passes, unmarked += !r.link().routines().busy(); };
        r.on_events = check;
        r.env.process_events_for = [&](int ms) { check(), r.clock.advance(ms); };
        r.start();
        for (int i = 0; i <= 38; ++i) {
            if (i == 2)
                continue;  // close
            r.frm().show();
            button_pressed(r.p(), i);
            button_released(r.p(), i);
            button_released(r.p(), 16);  // back to the main page
        }
        button_released(r.p(), 10);
        for (int i = 0; i < 8; ++i)
            option_clicked(r.p(), i);
        button_released(r.p(), 15);
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

QV_REGISTER_TEST(TestClientCommands)
#include "tst_client_commands.moc"
