#include "core/shared_state.h"
#include "fake_port.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "recording_observer.h"
#include "test_registry.h"

namespace {

// A link on virtual time with its port open, answered by the simulated box
// or, with `scripted`, only by what the test schedules.
struct Rig {
    explicit Rig(bool scripted = false)
    {
        if (scripted)
            port.set_box(nullptr);
        link.set_comm();
    }
    VirtualClock clock;
    BoxModel box;
    FakePort port{clock, &box};
    RecordingObserver obs{&clock};
    SharedState state;
    DeviceLink link{port, clock, obs, state};
};

}  // namespace

class TestDeviceLink : public QObject {
    Q_OBJECT
private slots:
    void first_byte_must_come_within_300_ms()
    {
        Rig at_limit(true);
        at_limit.port.arrive_in(300, "PWR001");
        at_limit.link.tx_cmd("PWR999");
        QCOMPARE(at_limit.link.last_reply, QString("PWR001"));
        QCOMPARE(at_limit.link.get_rx_val(), 1);
        QCOMPARE(at_limit.obs.connects.back(), true);
        QCOMPARE(at_limit.obs.log, QStringList{"PWR001"});

        Rig late(true);
        const qint64 t0 = late.clock.now;
        late.port.arrive_in(301, "PWR001");
        late.link.tx_cmd("PWR999");
        QCOMPARE(late.link.last_reply, protocol::kNone);
        QCOMPARE(late.link.get_rx_val(), 0);
        QCOMPARE(late.clock.now - t0, 301);
        QVERIFY(late.obs.log.isEmpty());  // nothing started: no log entry
        QCOMPARE(late.obs.connects.back(), false);
        // With no box at all every send costs the 0.3 s and logs nothing.
        Rig absent(true);
        absent.link.tx_cmd("VER999");
        QCOMPARE(absent.link.last_reply, protocol::kNone);
        QVERIFY(absent.obs.log.isEmpty());
        QVERIFY(absent.port.waits <= 2);  // it blocked on the port; it did not spin
    }

    void chunks_join_while_gaps_stay_within_300_ms()
    {
        Rig split(true);
        split.port.arrive_in(5, "PWR0");
        split.port.arrive_in(255, "01");
        split.link.tx_cmd("PWR999");
        QCOMPARE(split.link.last_reply, QString("PWR001"));

        Rig two_then_four(true);
        two_then_four.port.arrive_in(1, "PW");
        two_then_four.port.arrive_in(201, "R001");
        two_then_four.link.tx_cmd("PWR999");
        QCOMPARE(two_then_four.link.last_reply, QString("PWR001"));

        Rig gap(true);
        gap.port.arrive_in(1, "PW");
        gap.port.arrive_in(401, "R001");
        gap.link.tx_cmd("PWR999");
        QCOMPARE(gap.link.last_reply, protocol::kNone);
        QCOMPARE(gap.obs.log, QStringList{"NONE"});
        QCOMPARE(gap.link.receive_log().text(), QString("NONE "));
        QCOMPARE(gap.obs.connects.back(), false);

        Rig short_reply(true);
        const qint64 t0 = short_reply.clock.now;
        short_reply.port.arrive_in(1, "PWR0");
        short_reply.link.tx_cmd("PWR999");
        QCOMPARE(short_reply.link.last_reply, protocol::kNone);
        QCOMPARE(short_reply.clock.now - t0, 1 + 301);
        QCOMPARE(short_reply.obs.log, QStringList{"NONE"});
    }

    void only_exactly_six_bytes_make_a_reply()
    {
        Rig seven(true);
        seven.port.arrive_in(1, "PWR0011");
        seven.link.tx_cmd("PWR999");
        QCOMPARE(seven.link.last_reply, protocol::kNone);

        Rig merged(true);
        merged.port.arrive_in(1, "PWR001");
        merged.port.arrive_in(1, "ASP002");
        merged.link.tx_cmd("PWR999");
        QCOMPARE(merged.link.last_reply, protocol::kNone);

        // Any six bytes count, whatever their mnemonic.
        Rig other(true);
        other.port.arrive_in(1, "ASP002");
        other.link.tx_cmd("PWR999");
        QCOMPARE(other.link.last_reply, QString("ASP002"));
        QCOMPARE(other.link.get_rx_val(), 2);

        // Eight bits a byte, both ways.
        Rig binary(true);
        binary.port.arrive_in(1, QByteArray("\xff\x00\x80""001", 6));
        binary.link.tx_cmd("PWR999");
        QCOMPARE(binary.link.last_reply.size(), 6);
        QCOMPARE(binary.link.last_reply.at(0).unicode(), 0xff);
    }

    void an_unbroken_stream_ends_after_one_second()
    {
        Rig rig(true);
        const qint64 t0 = rig.clock.now;
        for (int t = 1; t < 60000; t += 100)
            rig.port.arrive_in(t, "xxxx");  // 4, 8, 12...: never exactly six
        rig.link.tx_cmd("PWR999");
        QCOMPARE(rig.link.last_reply, protocol::kNone);
        QVERIFY(rig.clock.now - t0 <= 1 + DeviceLink::kMaxCollectMs + 100);
        QCOMPARE(rig.obs.log, QStringList{"NONE"});
        QVERIFY(rig.obs.timer_on);  // the window runs again: the poll timer is back
    }

    void bytes_waiting_before_a_command_are_discarded()
    {
        Rig rig;
        rig.port.arrive_in(0, "XYZ123");
        QCOMPARE(rig.port.bytes_waiting(), 6);
        const int discards = rig.port.input_discards;
        rig.link.tx_cmd("ASP999");
        QCOMPARE(rig.port.input_discards, discards + 1);
        QCOMPARE(rig.link.last_reply, QString("ASP000"));
        QCOMPARE(rig.obs.log, QStringList{"ASP000"});
    }

    void tx_val2str_leaves_the_full_command_with_the_caller()
    {
        Rig rig;
        QString cmd = "CON";
        rig.link.tx_val2str(cmd, 7);
        QCOMPARE(cmd, QString("CON007"));
        QCOMPARE(rig.port.written.back(), QString("CON007"));
        QCOMPARE(rig.link.last_reply, QString("CON007"));
        QString big = "BRI";
        rig.link.tx_val2str(big, 1234);
        QCOMPARE(rig.port.written.back(), QString("BRI999"));

        rig.state.port_open = false;
        QString closed = "CON";
        rig.link.tx_val2str(closed, 7);
        QCOMPARE(closed, QString("CON"));
        QCOMPARE(rig.link.last_reply, protocol::kNone);
    }

    void a_closed_port_sends_nothing_and_waits_for_nothing()
    {
        Rig rig;
        rig.state.port_open = false;
        const int timer_changes = rig.obs.timer_changes;
        const int passes = rig.obs.event_passes;
        const qint64 t0 = rig.clock.now;
        rig.link.tx_cmd("PWR999");
        QCOMPARE(rig.link.last_reply, protocol::kNone);
        QVERIFY(rig.port.written.isEmpty());
        QVERIFY(rig.obs.log.isEmpty());
        QCOMPARE(rig.obs.connects.back(), false);
        QCOMPARE(rig.obs.timer_changes, timer_changes);  // timer untouched
        QCOMPARE(rig.obs.event_passes, passes);
        rig.link.rx_rdy();
        QCOMPARE(rig.link.last_reply, protocol::kNone);
        QCOMPARE(rig.clock.now, t0);  // no 5 s freeze for a port that cannot answer
        QCOMPARE(rig.obs.statuses.back(), QString("*** WAIT ***"));
    }

    void events_run_once_before_the_write_and_never_while_waiting()
    {
        Rig rig;
        int written_during_pass = -1;
        rig.obs.on_events = [&] { written_during_pass = rig.port.written.size(); };
        const int passes = rig.obs.event_passes;
        rig.link.tx_cmd("PWR999");
        QCOMPARE(rig.obs.event_passes, passes + 1);
        QCOMPARE(written_during_pass, 0);
        QVERIFY(rig.obs.timer_on);

        // Inside the poll timer's handling the timer stays off.
        rig.link.dispatch_idle = false;
        rig.link.tx_cmd("PWR999");
        QVERIFY(!rig.obs.timer_on);
        rig.link.dispatch_idle = true;
        rig.link.tx_cmd("PWR999");
        QVERIFY(rig.obs.timer_on);
    }

    void the_ready_wait_allows_five_seconds()
    {
        Rig rig(true);
        const qint64 t0 = rig.clock.now;
        rig.link.rx_rdy();
        QCOMPARE(rig.link.last_reply, protocol::kNone);
        QCOMPARE(rig.clock.now - t0, 5001);
        QCOMPARE(rig.obs.statuses.back(), QString("*** WAIT ***"));
        QCOMPARE(rig.obs.connects.back(), false);
        QVERIFY(rig.obs.log.isEmpty());
        QVERIFY(rig.port.waits <= 2);

        Rig in_time(true);
        in_time.port.arrive_in(5000, "RDY000");
        in_time.link.rx_rdy();
        QCOMPARE(in_time.link.last_reply, QString("RDY000"));
        QCOMPARE(in_time.obs.connects.back(), true);

        // The box's ready message comes after the reply, never with it.
        Rig box;
        box.link.tx_cmd("PWR001");
        QCOMPARE(box.link.last_reply, QString("PWR001"));
        QVERIFY(box.port.next_arrival() > box.clock.now);
        box.link.rx_rdy();
        QCOMPARE(box.link.last_reply, QString(BoxModel::kReadyMessage));
        QCOMPARE(box.obs.log, (QStringList{"PWR001", "RDY000"}));
    }

    void set_comm_opens_flushes_and_reports_failure()
    {
        Rig rig;
        QVERIFY(rig.state.port_open);
        QVERIFY(rig.obs.timer_on);
        QCOMPARE(rig.port.input_discards, 1);
        QCOMPARE(rig.port.output_discards, 1);

        rig.port.present = {1};
        rig.state.com_port = 2;
        rig.link.set_comm();
        QVERIFY(!rig.state.port_open);
        QVERIFY(!rig.obs.timer_on);
        QCOMPARE(rig.obs.failures, QStringList{"2:No such file or directory"});
        QCOMPARE(port_error_message(2), QString("PC error on COM2: !"));
        QCOMPARE(rig.obs.statuses.back(), QString("COM port error !"));
        rig.link.tx_cmd("PWR999");
        QCOMPARE(rig.link.last_reply, protocol::kNone);

        rig.state.com_port = 1;
        rig.link.set_comm();
        QVERIFY(rig.state.port_open);
        QVERIFY(rig.obs.timer_on);
        // Pressing the open port's button reopens it and flushes both ways.
        const int opens = rig.port.opens;
        rig.link.set_comm();
        QCOMPARE(rig.port.opens, opens + 1);
        QCOMPARE(rig.port.input_discards, 3);
        QCOMPARE(rig.port.output_discards, 3);
    }

    void output_stuck_on_the_line_does_not_freeze_a_send()
    {
        Rig rig;
        rig.port.pending_output = 10;
        rig.port.drain_at_ms = rig.clock.now + 60000;
        const qint64 t0 = rig.clock.now;
        rig.link.tx_cmd("PWR999");
        QCOMPARE(rig.port.output_discards, 2);
        QVERIFY(rig.clock.now - t0 < DeviceLink::kDrainMs + 400);
        QCOMPARE(rig.link.last_reply, QString("PWR001"));
    }

    void a_vanished_device_closes_the_port_once()
    {
        Rig idle;
        idle.port.unplug("Input/output error");
        QVERIFY(!idle.state.port_open);
        QVERIFY(!idle.obs.timer_on);
        QCOMPARE(idle.obs.statuses.back(), QString("COM1 lost !"));
        QCOMPARE(idle.obs.losses, QStringList{"1:Input/output error"});
        idle.port.unplug("Input/output error");
        QCOMPARE(idle.obs.losses.size(), 1);  // no storm
        QVERIFY(!idle.link.poll_tick(nullptr));
        // The COM button opens it again.
        idle.link.set_comm();
        QVERIFY(idle.state.port_open);
        idle.link.tx_cmd("VER999");
        QCOMPARE(idle.link.last_reply, QString("VER105"));

        Rig busy(true);
        const qint64 t0 = busy.clock.now;
        busy.port.unplug_at = t0 + 50;
        busy.link.tx_cmd("PWR999");
        QCOMPARE(busy.link.last_reply, protocol::kNone);
        QCOMPARE(busy.clock.now - t0, 50);  // no waiting on a dead port
        QVERIFY(!busy.obs.timer_on);          // and no poll timer on it either
        QVERIFY(!busy.state.port_open);
    }

    void poll_tick_collects_what_the_box_sends_on_its_own()
    {
        Rig rig;
        int acted = 0;
        const int passes = rig.obs.event_passes;
        QVERIFY(!rig.link.poll_tick([&](const QString&, int) { ++acted; }));
        QCOMPARE(rig.obs.event_passes, passes);  // idle tick: one cheap check

        rig.port.arrive_in(0, "XYZ123");
        QString mnemonic;
        int value = -1;
        bool idle_inside = true;
        QVERIFY(rig.link.poll_tick([&](const QString& m, int v) {
            mnemonic = m;
            value = v;
            idle_inside = rig.link.dispatch_idle;
            rig.link.tx_cmd("ASP999");  // a query sent from the handling
            QVERIFY(!rig.obs.timer_on);
        }));
        QCOMPARE(mnemonic, QString("XYZ"));
        QCOMPARE(value, 123);
        QVERIFY(!idle_inside);
        QVERIFY(rig.link.dispatch_idle);
        QVERIFY(rig.obs.timer_on);
        QCOMPARE(rig.obs.log, (QStringList{"XYZ123", "ASP000"}));

        rig.port.arrive_in(0, "PWR");
        QVERIFY(rig.link.poll_tick([&](const QString&, int) { ++acted; }));
        QCOMPARE(acted, 0);
        QCOMPARE(rig.link.last_message, protocol::kNone);
        QCOMPARE(rig.obs.log.back(), QString("NONE"));
        QCOMPARE(rig.obs.connects.back(), false);
    }

    void wait_secs_keeps_the_window_alive_without_spinning()
    {
        Rig rig;
        const qint64 t0 = rig.clock.now;
        rig.link.wait_secs(0.05);
        QVERIFY(rig.clock.now - t0 > 50);
        QVERIFY(rig.obs.event_waits <= 2);
    }
};

QV_REGISTER_TEST(TestDeviceLink)
#include "tst_device_link.moc"
