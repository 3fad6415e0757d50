#include "app/command_line.h"
#include "test_registry.h"

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void maps_com_ports_to_devices()
    {
        // Not given: the device chosen in the panel, or the default, is used.
        PanelOptions o = parse_panel_options({"qv742-panel"});
        QVERIFY(o.error.isEmpty());
        QVERIFY(o.com1.isEmpty() && o.com2.isEmpty());
        o = parse_panel_options({"qv742-panel", "--com1", "/tmp/x/com1", "--com2=/dev/ttyUSB0"});
        QVERIFY(o.error.isEmpty());
        QCOMPARE(o.com1, QString("/tmp/x/com1"));
        QCOMPARE(o.com2, QString("/dev/ttyUSB0"));

        QVERIFY(!parse_panel_options({"qv742-panel", "--com3", "x"}).error.isEmpty());
        QVERIFY(!parse_panel_options({"qv742-panel", "--com1"}).error.isEmpty());
        QVERIFY(!parse_panel_options({"qv742-panel", "stray"}).error.isEmpty());
        QVERIFY(!parse_panel_options({"qv742-panel", "--com1="}).error.isEmpty());
        QVERIFY(parse_panel_options({"qv742-panel", "--help"}).show_help);
        QVERIFY(parse_panel_options({"qv742-panel", "--help"}).help_text.contains("--com2"));
    }
};

QV_REGISTER_TEST(TestCommandLine)
#include "tst_command_line.moc"
