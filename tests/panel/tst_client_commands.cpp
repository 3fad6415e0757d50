// A client's command run as one of the panel's routines, on virtual time:
// the panel takes in what it changed, waits for a ready message only when
// one comes, and no routine ever lets window events run unmarked.

#include "link/protocol.h"
#include "panel/client_command.h"
#include "panel/option_label.h"
#include "panel/option_lines.h"
#include "panel/press_dispatch.h"
#include "panel/reply_dispatcher.h"
#include "panel/video_sliders.h"
#include "panel_rig.h"
#include "test_registry.h"

#include <QScrollBar>

namespace {

const QStringList kModeQueries = {"ASP999", "SCN999", "FMT999", "FRZ999", "NPO999", "PAT999", "ZOM999"};

struct Run {
    ClientAnswer answer;
    QStringList sent;
    qint64 ms = 0;
};

Run run(PanelRig& r, const QString& command)
{
    const int from = r.sent().size();
    const qint64 start = r.clock.now;
    Run out;
    out.answer = run_client_command(r.p(), command);
    out.sent = r.sent_since(from);
    out.ms = r.clock.now - start;
    return out;
}

}  // namespace

class TestClientCommands : public QObject {
    Q_OBJECT
private slots:
    void the_panel_takes_in_what_a_command_changed()
    {
        PanelRig r;
        r.start();
        const Run freeze = run(r, "FRZ001");
        QCOMPARE(freeze.answer.reply, QString("FRZ001"));
        QCOMPARE(freeze.answer.ready, QString());
        QCOMPARE(freeze.sent, QStringList{"FRZ001"});
        QCOMPARE(r.picture(14), QString("1_freeze_on_0"));
        QVERIFY(r.frm().tim_rx().isActive());
        QVERIFY(r.link().dispatch_idle);

        run(r, "ASP002");
        QCOMPARE(r.picture(27), QString("1_aspect_letterbox_0"));

        const Run off = run(r, "PWR000");
        QCOMPARE(off.sent, QStringList{"PWR000"});
        QCOMPARE(r.picture(26), QString("1_power_off_0"));
        for (int i : {6, 7, 9, 13, 14, 27})
            QVERIFY2(!r.ico(i)->isEnabled(), qPrintable(QString::number(i)));
        QVERIFY(r.ico(8)->isEnabled());

        // Switched on by a script: one ready wait, taken by the command, and
        // the panel's own resynchronisation after it.
        const Run on = run(r, "PWR001");
        QCOMPARE(on.answer.reply, QString("PWR001"));
        QCOMPARE(on.answer.ready, QString("RDY000"));
        QCOMPARE(on.sent, QStringList{"PWR001"} + kModeQueries);
        QVERIFY2(on.ms < 1000, qPrintable(QString::number(on.ms)));
        QCOMPARE(r.link().receive_log().text().count("RDY000"), 1);
        QVERIFY(r.ico(9)->isEnabled());
        QCOMPARE(r.caption(), QString("Power On"));

        // The box's reset, reported back: resynchronised, not reset twice.
        const Run reset = run(r, "RST000");
        QCOMPARE(reset.sent, QStringList{"RST000"} + kModeQueries);
        QCOMPARE(reset.answer.ready, QString("RDY000"));
        QCOMPARE(r.st.current_page, 99);

        const Run pattern = run(r, "PAT000");
        QCOMPARE(pattern.answer.ready, QString("RDY000"));
        QCOMPARE(r.caption(), QString("Test Pattern Off"));
    }

    void a_query_changes_nothing_and_waits_for_nothing()
    {
        PanelRig r;
        r.start();
        r.st.power_state = 0;  // the panel's copy may be behind
        for (const char* query : {"PWR999", "ZOM999", "PAT999", "RST999"}) {
            const Run q = run(r, query);
            QCOMPARE(q.sent, QStringList{query});
            QCOMPARE(q.answer.ready, QString());
            QVERIFY2(q.ms < 1000, query);  // no 5 s wait for a ready that never comes
        }
        QCOMPARE(r.st.power_state, 0);

        const Run version = run(r, "VER999");
        QCOMPARE(version.answer.reply, QString("VER105"));
    }

    void no_reply_and_odd_replies()
    {
        PanelRig r;
        r.start();
        r.port.unanswered << "FRZ001" << "PAT000";
        const Run silent = run(r, "FRZ001");
        QCOMPARE(silent.answer.reply, protocol::kNone);
        QCOMPARE(silent.answer.ready, QString());
        QCOMPARE(r.picture(14), QString("1_freeze_off_0"));  // unlike the button, nothing changed

        // A slow command answered with a value that needs no ready wait:
        // its ready message is still awaited, and the message line is not
        // left at "*** WAIT ***".
        r.el().lab_msg->set_caption(QStringLiteral("Good Day !"));
        r.port.arrive_in(20, "PAT001");
        r.port.arrive_in(200, "RDY000");
        const Run odd = run(r, "PAT000");
        QCOMPARE(odd.answer.reply, QString("PAT001"));
        QCOMPARE(odd.answer.ready, QString("RDY000"));
        QCOMPARE(r.st.test_pattern, 1);
        QCOMPARE(r.caption(), QString("Good Day !"));
    }

    // The client's command relies on this: taking in a reply waits for a
    // ready message exactly when waits_for_ready says so.
    void the_dispatcher_waits_exactly_when_it_says()
    {
        BoxConfig no_ready;
        no_ready.send_ready = false;
        for (const char* message : {"PWR000", "PWR001", "PWR002", "PAT000", "PAT001", "RST000", "RST001",
                                    "RST003", "ZOM000", "ZOM001", "FRZ001", "SCN001", "ARA005", "CON040",
                                    "VER105", "XYZ123"}) {
            PanelRig r(no_ready);
            r.start();
            const qint64 start = r.clock.now;
            r.box_says(message);
            const bool waited = r.clock.now - start >= DeviceLink::kReadyWaitMs;
            const QString m = QString::fromLatin1(message);
            QVERIFY2(waited == waits_for_ready(m.left(3), protocol::read_value(m)), message);
        }
    }

    // Clients run between routines only; every routine that lets window
    // events run must be marked as one, or a client's command could slip in.
    void window_events_run_only_inside_marked_routines()
    {
        PanelRig r;
        int passes = 0;
        QStringList unmarked;
        const auto check = [&](const char* where) {
            ++passes;
            if (!r.link().routines().busy())
                unmarked << where;
        };
        r.on_events = [&] { check("event pass"); };
        r.env.process_events_for = [&](int ms) {
            check("timed pass");
            r.clock.advance(ms);
        };
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
        QVERIFY(passes > 100);
        QCOMPARE(unmarked, QStringList());
        QVERIFY(!r.link().routines().busy());
    }
};

QV_REGISTER_TEST(TestClientCommands)
#include "tst_client_commands.moc"
