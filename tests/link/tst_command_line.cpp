#include "app/command_line.h"
#include "test_registry.h"

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void maps_com_ports_to_devices()
    {
        // Not given: the device chosen in the panel, or the default, is used.
        PanelOptions o = parse_panel_options({"qv742-panel"});
        QVERIFY(o.error.isEmpty() && o.com1.isEmpty() && o.com2.isEmpty());
        o = parse_panel_options({"qv742-panel", "--com1", "/tmp/x/com1", "--com2=/dev/ttyUSB0"});
        QVERIFY(o.error.isEmpty());
        QCOMPARE(o.com1 + " " + o.com2, QString("/tmp/x/com1 /dev/ttyUSB0"));

        for (const QStringList& wrong : {QStringList{"--com3", "x"}, {"--com1"}, {"stray"}, {"--com1="}})
            QVERIFY(!parse_panel_options(QStringList{"qv742-panel"} + wrong).error.isEmpty());
        o = parse_panel_options({"qv742-panel", "--help"});
        QVERIFY(o.show_help && o.help_text.contains("--com2"));
    }
};

QV_REGISTER_TEST(TestCommandLine)
#include "tst_command_line.moc"
