// Faults of the line on virtual time, where the instant of each event is
// exact: the port lost under a routine, and a stream that begins late in a
// ready wait.

#include "link_rig.h"
#include "panel_rig.h"
#include "test_registry.h"

#include "link/protocol.h"
#include "panel/option_lines.h"
#include "panel/press_dispatch.h"

// Whatever routine the device vanished under, its own caption must not hide
// the loss.
class TestLossCaption : public QObject {
    Q_OBJECT
private slots:
    void during_a_routine_with_a_ready_wait_data()
    {
        QTest::addColumn<int>("routine");
        QTest::newRow("a power press") << 0;
        QTest::newRow("a message of the box") << 1;
        QTest::newRow("the test pattern switching off") << 2;
    }
    void during_a_routine_with_a_ready_wait()
    {
        QFETCH(int, routine);
        BoxConfig config;
        config.power_on = routine != 0;
        config.send_ready = false;
        PanelRig r(config);
        r.start();
        if (routine == 2) {
            button_released(r.p(), 10);  // the option page
            option_clicked(r.p(), 4);     // test pattern on
        }
        r.port.unplug_at = r.clock.now + 1000;  // inside the 5 s ready wait
        if (routine == 0)
            button_released(r.p(), 26);
        else if (routine == 1)
            r.box_says("PWR001");      // the box switched on at its front panel
        else
            option_clicked(r.p(), 5);  // and off: PAT000 and its ready wait
        QCOMPARE(r.link().last_reply, protocol::kNone);
        QCOMPARE(r.caption(), QStringLiteral("COM1 lost !"));
        QCOMPARE(r.indicator(), QStringLiteral("1_connect_off_0"));
        QVERIFY(!r.link().polling());
        QVERIFY(r.messages.isEmpty());
    }

    void not_when_the_routine_opened_the_port_again()
    {
        PanelRig r;
        r.start();
        r.port.unplug();
        button_released(r.p(), 28);  // COM1 opens it again
        QVERIFY(r.st.port_open);
        QVERIFY(r.caption() != QStringLiteral("COM1 lost !"));
        button_released(r.p(), 27);  // and the next press is answered
        QCOMPARE(r.link().last_reply, QStringLiteral("ASP001"));
    }
};

// The longest the window waits without events is the 5 s ready wait: a
// stream that begins late in it is cut off at the end of the wait (the 0.3 s
// gap rule apart), not a second later.
class TestReadyWaitBound : public QObject {
    Q_OBJECT
    using Rig = LinkRig;

private slots:
    void a_flood_late_in_the_wait_ends_with_it()
    {
        Rig r(true);
        const qint64 t0 = r.clock.now;
        for (int t = 4800; t < 8000; t += 5)
            r.port.arrive_at(t0 + t, "xxxxxxxx");
        r.link.rx_rdy();
        QCOMPARE(r.link.last_reply, protocol::kNone);
        QVERIFY2(r.clock.now - t0 <= DeviceLink::kReadyWaitMs + DeviceLink::kReplyGapMs,
                 qPrintable(QString::number(r.clock.now - t0)));
        QCOMPARE(r.obs.log, QStringList{"NONE"});
        QCOMPARE(r.obs.connects.back(), false);
    }

    void a_ready_message_at_the_end_of_the_wait_still_counts()
    {
        Rig split(true);  // its last bytes after the wait, within the gap rule
        split.port.arrive_in(4990, "RDY0");
        split.port.arrive_in(5250, "00");
        split.link.rx_rdy();
        QCOMPARE(split.link.last_reply, QStringLiteral("RDY000"));
    }

    void a_reply_stream_keeps_its_one_second()
    {
        Rig r(true);
        const qint64 t0 = r.clock.now;
        for (int t = 10; t < 3000; t += 5)
            r.port.arrive_at(t0 + t, "xxxxxxxx");
        r.link.tx_cmd(QStringLiteral("VER999"));
        QCOMPARE(r.link.last_reply, protocol::kNone);
        QVERIFY(r.clock.now - t0 > DeviceLink::kMaxCollectMs);
    }
};

QV_REGISTER_TEST(TestLossCaption)
QV_REGISTER_TEST(TestReadyWaitBound)
#include "tst_link_faults.moc"
