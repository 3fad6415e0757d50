// The port lost under a routine, on virtual time, where the instant of the
// loss is exact.

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
        QCOMPARE(r.pictures_of({28}) << r.indicator(), (QStringList{"1_com1_off_0", "1_connect_off_0"}));
        QVERIFY(r.el().lab_msg->toolTip().contains("Input/output error") && !r.link().polling());
        QVERIFY(r.messages.isEmpty());  // no dialog
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

QV_REGISTER_TEST(TestLossCaption)
#include "tst_link_faults.moc"
