// Which Qt platform the panel asks for on start.

#include "app/platform_choice.h"
#include "test_registry.h"

class TestPlatformChoice : public QObject {
    Q_OBJECT
private slots:
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

QV_REGISTER_TEST(TestPlatformChoice)
#include "tst_platform_choice.moc"
