// Which Qt platform the panel asks for on start.

#include "app/platform_choice.h"
#include "test_registry.h"

class TestPlatformChoice : public QObject {
    Q_OBJECT
private slots:
    void xwayland_first_on_a_wayland_desktop_unless_the_user_chose_data()
    {
        QTest::addColumn<QByteArray>("qpa");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("chosen");
        const QByteArray xcb_first = "xcb;wayland";
        QTest::newRow("Wayland with XWayland") << QByteArray() << QByteArray("wayland-0") << QByteArray(":0")
                                               << QStringList() << xcb_first;
        QTest::newRow("Wayland without XWayland") << QByteArray() << QByteArray("wayland-0") << QByteArray()
                                                  << QStringList() << QByteArray();
        QTest::newRow("X11") << QByteArray() << QByteArray() << QByteArray(":0") << QStringList() << QByteArray();
        QTest::newRow("the user's variable") << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
                                             << QStringList() << QByteArray();
        for (const QStringList& args : {QStringList{"-platform", "wayland"}, QStringList{"--platform", "wayland"},
                                         QStringList{"-platform=wayland"}, QStringList{"--com1", "x", "-platform", "xcb"}})
            QTest::newRow(qPrintable("the user's " + args.join(' '))) << QByteArray() << QByteArray("wayland-0")
                                                                     << QByteArray(":0") << args << QByteArray();
    }

    void xwayland_first_on_a_wayland_desktop_unless_the_user_chose()
    {
        QFETCH(QByteArray, qpa);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, display);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, chosen);
        QCOMPARE(preferred_platform(qpa, wayland, display, arguments), chosen);
    }
};

QV_REGISTER_TEST(TestPlatformChoice)

#include "tst_platform_choice.moc"
