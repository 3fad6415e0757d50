// How the panel is started: its options and the Qt platform it asks for.

#include "app/command_line.h"
#include "app/platform_choice.h"
#include "test_registry.h"

class TestStartOptions : public QObject {
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

    void xwayland_first_on_a_wayland_desktop_unless_the_user_chose()
    {
        const struct {
            const char *qpa, *wayland, *display;
            QStringList args;
            const char* chosen;
        } cases[] = {
            {"", "wayland-0", ":0", {}, "xcb;wayland"},
            {"", "wayland-0", "", {}, ""},  // no XWayland: Qt's choice
            {"", "", ":0", {}, ""},         // X11: as always
            {"wayland", "wayland-0", ":0", {}, ""},  // the user's variable
            {"", "wayland-0", ":0", {"-platform", "wayland"}, ""},
            {"", "wayland-0", ":0", {"--com1", "x", "--platform=xcb"}, ""},
        };
        for (const auto& c : cases)
            QCOMPARE(preferred_platform(c.qpa, c.wayland, c.display, c.args), QByteArray(c.chosen));
    }
};

QV_REGISTER_TEST(TestStartOptions)
#include "tst_start_options.moc"
