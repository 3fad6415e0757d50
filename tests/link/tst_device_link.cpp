#include "link/protocol.h"
#include "link_rig.h"
#include "test_registry.h"

class TestDeviceLink : public QObject {
    Q_OBJECT
private slots:
    // A reply is exactly six bytes whose first comes within 0.3 s and whose chunks follow one another within 0.3 s.
    void chunks_join_while_gaps_stay_within_300_ms()
    {
        const QByteArray none = "NONE", pwr = "PWR001", no, binary("\xff\x00\x80""001", 6);  // eight bits a byte
        // What arrives and when (ms), then what follows and when; the reply and the time it took.
        const std::tuple<QByteArray, int, QByteArray, int, QByteArray, int> cases[] = {
            {pwr, 300, no, 0, pwr, 300},  {pwr, 301, no, 0, none, 301},  {no, 0, no, 0, none, 301},  // late first byte
            {"PWR0", 5, "01", 255, pwr, 255}, {"PW", 1, "R001", 201, pwr, 201}, {"PW", 1, "R001", 401, none, 302},
            {"PWR0", 1, no, 0, none, 302}, {"PWR0011", 1, no, 0, none, 302}, {pwr, 1, "ASP002", 1, none, 302},
            {"ASP002", 1, no, 0, "ASP002", 1}, {binary, 1, no, 0, binary, 1},  // any mnemonic, any byte
        };
        for (const auto& [first, at, rest, rest_at, reply, elapsed] : cases) {
            LinkRig rig(true);
            const qint64 t0 = rig.clock.now;
            if (!first.isEmpty())
                rig.port.arrive_in(at, first);
            if (!rest.isEmpty())
                rig.port.arrive_in(rest_at, rest);
            const Reply got = rig.link.tx_cmd("PWR999");
            // Logged once something began to arrive; nothing arriving logs nothing.
            const QString log = first.isEmpty() || at > 300 ? QString() : got.text;
            const bool connected = rig.obs.connects.back();
            QCOMPARE((QVariantList{protocol::to_wire(got.text), got.value(), rig.clock.now - t0, connected, rig.obs.log,
                                   rig.link.receive_log().text()}),
                     (QVariantList{reply, protocol::read_value(QString::fromLatin1(reply)), qint64(elapsed),
                                   reply != "NONE", log.isEmpty() ? QStringList() : QStringList{log},
                                   log.isEmpty() ? log : log + ' '}));
            QVERIFY(rig.port.waits <= 3);  // it blocked on the port; it did not spin
        }

        // An unbroken stream ends at the first chunk past a second after the first.
        LinkRig rig(true);
        const qint64 t0 = rig.clock.now;
        for (int t = 1; t < 60000; t += 100)
            rig.port.arrive_in(t, "xxxx");  // 4, 8, 12...: never exactly six
        const QString got = rig.link.tx_cmd("PWR999").text;
        QCOMPARE((QVariantList{got, rig.clock.now - t0, rig.obs.log}),
                 (QVariantList{"NONE", qint64(1101), QStringList{"NONE"}}));
        QVERIFY(rig.obs.timer_on);  // the window runs again: the poll timer is back
    }

    void bytes_waiting_before_a_command_are_discarded()
    {
        LinkRig rig;
        rig.port.arrive_in(0, "XYZ123");
        rig.link.tx_cmd("ASP999");
        QVERIFY(rig.port.input_discards == 2 && rig.obs.log == QStringList{"ASP000"});  // one at the opening

        // Output stuck on the line does not freeze a send.
        rig.port.pending_output = 10;
        rig.port.drain_at_ms = rig.clock.now + 60000;
        const qint64 t0 = rig.clock.now;
        const Reply reply = rig.link.tx_cmd("PWR999");
        QVERIFY(rig.port.output_discards == 2 && rig.clock.now - t0 < 1400);
        QCOMPARE(reply.text, QString("PWR001"));
    }

    void tx_val2str_and_a_closed_port()
    {
        LinkRig rig;
        QString cmd = "CON", big = "BRI", closed = "CON";
        const Reply reply = rig.link.tx_val2str(cmd, 7);
        QCOMPARE((QStringList{cmd, rig.port.written.back(), reply.text}), QStringList(3, "CON007"));
        rig.link.tx_val2str(big, 1234);
        QCOMPARE(rig.port.written.back(), QString("BRI999"));

        rig.state.port_open = false;
        const Reply none = rig.link.tx_val2str(closed, 7);
        QVERIFY(closed == "CON" && !none.answered() && !rig.obs.connects.back());

        // A closed port sends nothing and waits for nothing.
        const int timer_changes = rig.obs.timer_changes, passes = rig.obs.event_passes, sent = rig.port.written.size();
        const qint64 t0 = rig.clock.now;
        QVERIFY(!rig.link.tx_cmd("PWR999").answered() && !rig.obs.connects.back());
        QVERIFY(rig.port.written.size() == sent && rig.obs.log.size() == 2);
        QVERIFY(rig.obs.timer_changes == timer_changes && rig.obs.event_passes == passes);
        QVERIFY(!rig.link.rx_rdy().answered() && rig.obs.ready_waits == 1);
        QCOMPARE(rig.clock.now, t0);  // no 5 s freeze for a port that cannot answer
    }

    void events_run_once_before_the_write_and_never_while_waiting()
    {
        LinkRig rig;
        int written_during_pass = -1;
        rig.obs.on_events = [&] { written_during_pass = rig.port.written.size(); };
        const int passes = rig.obs.event_passes;
        rig.link.tx_cmd("PWR999");
        QVERIFY(rig.obs.event_passes == passes + 1 && written_during_pass == 0 && rig.obs.timer_on);

        // Inside the handling of a message the timer stays off.
        rig.link.handle_as_own("PWR001", QString(), [&](const QString&, int) {
            rig.link.tx_cmd("PWR999");
            QVERIFY(!rig.obs.timer_on);
        });
        rig.link.tx_cmd("PWR999");
        QVERIFY(rig.obs.timer_on);

        // A handler run by that pass may close the port: nothing is sent.
        rig.obs.on_events = [&] { rig.port.close(); };
        const Reply reply = rig.link.tx_cmd("PWR999");
        QCOMPARE(rig.port.written.size(), 3);
        QVERIFY(!reply.answered() && !rig.obs.connects.back());

        // A pause keeps the window alive without spinning.
        const qint64 t0 = rig.clock.now;
        rig.link.wait_secs(0.05);
        QVERIFY(rig.clock.now - t0 > 50 && rig.obs.event_waits <= 2);
    }

    void the_ready_wait_allows_five_seconds()
    {
        LinkRig rig(true), in_time(true), split(true), flood(true);
        const qint64 t0 = rig.clock.now;
        const Reply none = rig.link.rx_rdy();
        QCOMPARE(rig.clock.now - t0, 5001);
        QVERIFY(!none.answered() && !rig.obs.connects.back() && rig.obs.log.isEmpty() && rig.obs.ready_waits == 1);
        // It blocked on the port, a second at a time, saying it still waits.
        QVERIFY(rig.port.waits <= 6 && rig.obs.still_waiting_count == 4);

        in_time.port.arrive_in(5000, "RDY000");
        QVERIFY(in_time.link.rx_rdy().text == "RDY000" && in_time.obs.connects.back());
        // Its last bytes after the wait, within the gap rule, still count.
        split.port.arrive_in(4990, "RDY0");
        split.port.arrive_in(5250, "00");
        QCOMPARE(split.link.rx_rdy().text, QString("RDY000"));
        // A stream that begins late in the wait is cut off with it (the gap
        // rule apart), not a second later: no exchange holds the window longer.
        for (int t = 4800; t < 8000; t += 5)
            flood.port.arrive_at(t0 + t, "xxxxxxxx");  // every rig's clock starts at the same time
        QCOMPARE(flood.link.rx_rdy().text, protocol::kNone);
        QVERIFY(flood.clock.now - t0 <= 5300);
        QCOMPARE(flood.obs.log, QStringList{"NONE"});
    }

    void set_comm_opens_flushes_and_reports_failure_and_loss()
    {
        LinkRig rig;
        QVERIFY(rig.state.port_open && rig.obs.timer_on);
        QVERIFY(rig.port.input_discards == 1 && rig.port.output_discards == 1);

        rig.port.present = {1};
        rig.state.com_port = 2;
        rig.link.set_comm();
        QVERIFY(!rig.state.port_open && !rig.obs.timer_on && !rig.obs.connects.back());
        QCOMPARE(rig.obs.failures, QStringList{"2:No such file or directory"});

        rig.state.com_port = 1;
        rig.link.set_comm();
        QVERIFY(rig.state.port_open && rig.obs.timer_on);
        // Pressing the open port's button reopens it and flushes both ways.
        const int opens = rig.port.opens;
        rig.link.set_comm();
        QCOMPARE((QList<int>{rig.port.opens, rig.port.input_discards, rig.port.output_discards}),
                 (QList<int>{opens + 1, 3, 3}));

        // A vanished device closes the port, once.
        LinkRig idle, busy(true);
        idle.port.unplug("Input/output error");
        QVERIFY(!idle.state.port_open && !idle.obs.timer_on && !idle.link.poll_tick(nullptr));
        idle.port.unplug("Input/output error");
        QCOMPARE(idle.obs.losses, QStringList{"1:Input/output error"});  // once: no storm
        // The COM button opens it again.
        idle.link.set_comm();
        QVERIFY(idle.link.tx_cmd("VER999").text == "VER105" && idle.state.port_open);

        const qint64 t0 = busy.clock.now;
        busy.port.unplug_at = t0 + 50;
        QVERIFY(!busy.link.tx_cmd("PWR999").answered() && busy.clock.now - t0 == 50);  // no waiting on a dead port
        QVERIFY(!busy.obs.timer_on && !busy.state.port_open);  // and no poll timer on it
    }

    void poll_tick_collects_what_the_box_sends_on_its_own()
    {
        LinkRig rig;
        int acted = 0;
        const int passes = rig.obs.event_passes;
        QVERIFY(!rig.link.poll_tick([&](const QString&, int) { ++acted; }));
        QCOMPARE(rig.obs.event_passes, passes);  // idle tick: one cheap check

        rig.port.arrive_in(0, "XYZ123");
        QString handled;
        QVERIFY(rig.link.poll_tick([&](const QString& m, int v) {
            handled = QString("%1 %2 %3").arg(m).arg(v).arg(rig.link.dispatch_idle());
            rig.link.tx_cmd("ASP999");  // a query sent from the handling
            QVERIFY(!rig.obs.timer_on);
        }));
        QCOMPARE(handled, QString("XYZ 123 0"));
        QVERIFY(rig.link.dispatch_idle() && rig.obs.timer_on);
        QCOMPARE(rig.obs.log, (QStringList{"XYZ123", "ASP000"}));

        rig.port.arrive_in(0, "PWR");
        QVERIFY(rig.link.poll_tick([&](const QString&, int) { ++acted; }));
        QVERIFY(acted == 0 && rig.obs.own.back() == protocol::kNone && !rig.obs.connects.back());
        QCOMPARE(rig.obs.log.back(), QString("NONE"));
    }
};

QV_REGISTER_TEST(TestDeviceLink)
#include "tst_device_link.moc"
