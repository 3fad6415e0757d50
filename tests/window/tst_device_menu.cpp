// Choosing the device behind a COM button: the menu driven with QTest, the file of chosen devices, bad input.

#include "panel_rig.h"
#include "platform/regular_file.h"
#include "test_registry.h"
#include "window/com_device_menu.h"
#include "window/device_map_file.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <sys/stat.h>

namespace {

const SerialDeviceInfo kProlific{"/dev/ttyUSB1", "", "Prolific USB-Serial", "Prolific", true};

QString map_file(PanelRig& r) { return device_map_path(r.settings_path()); }

// What is at `path` (not following a link) and what it leads to.
QString identity(const QString& path)
{
    struct stat at {}, to {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &at) != 0)
        return "missing";
    ::stat(name.constData(), &to);
    return QString("%1:%2 -> %3:%4").arg(at.st_ino).arg(at.st_mode & S_IFMT).arg(to.st_ino).arg(to.st_mode & S_IFMT);
}

// The tooltip a button shows when the pointer rests on it.
QString tooltip(QWidget* button)
{
    QHelpEvent rest(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(button, &rest);
    return button->toolTip();
}

// The menu's entries, the ticked ones marked.
QStringList entries(QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isChecked() ? "[x] " : "") + a->text();
    return out;
}

// Goes down the open menu with the arrow key to the entry and presses Return.
void choose_with_keys(QMenu* menu, const QString& part)
{
    for (int i = 0; i < 9 && !(menu->activeAction() && menu->activeAction()->text().contains(part)); ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    QVERIFY(menu->activeAction() && menu->activeAction()->text().contains(part));
    QTest::keyClick(menu, Qt::Key_Return);
    QCoreApplication::processEvents();  // the entry acts once the menu has closed
}

}  // namespace

class TestDeviceMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QGuiApplication::styleHints()->setMousePressAndHoldInterval(40); }
    void cleanupTestCase() { QGuiApplication::styleHints()->setMousePressAndHoldInterval(-1); }

    void the_file_of_chosen_devices_is_read_leniently_and_written_whole()
    {
        const std::tuple<QByteArray, QString, QString, QString> cases[] = {
            {format_device_map("/dev/by-id/usb-A", "/dev/ttyUSB1"), "/dev/by-id/usb-A", "/dev/ttyUSB1", ""},
            {"\r\n  com2 = /dev/ttyACM0 \r\n# note\r\n", "", "/dev/ttyACM0", ""},
            {" \n", "", "", "it is empty"},
            {"COM1=/dev/by-id/My Adapter\nCOM2=/dev/a\tb\n", "/dev/by-id/My Adapter", "", "line 2 cannot be read"},
            {QByteArray("\x7f\x45LF\x02\x01\x00\xff", 8), "", "", "line 1 cannot be read"},
            {"COM3=/dev/x\nCOM1=/dev/ttyUSB0\nCOM2=\n", "/dev/ttyUSB0", "", "line 1 cannot be read (and 1 more)"},
        };
        for (const auto& [text, com1, com2, problem] : cases) {
            const DeviceMap map = parse_device_map(text);
            QCOMPARE(QStringList({map.com1, map.com2}), QStringList({com1, com2}));
            const QString note = device_map_note("/x/QVR_742_devices.ini", map);
            QVERIFY2(problem.isEmpty() ? note.isEmpty() : note.contains(problem), qPrintable(note));
        }
        QTemporaryDir dir;
        QString error;
        QVERIFY(!write_device_map(dir.filePath("no/such/folder/x.ini"), "COM1=x\n", error) && !error.isEmpty());
    }

    // A long press, the menu key and the tray open the menu; plain clicks stay clicks.
    void the_menu_opens_and_a_click_stays_a_click()
    {
        PanelRig r;
        r.devices.listed = {kBuiltIn, kFtdi};
        r.start();
        ComDeviceMenu& menus = *r.frm().device_menu();
        PictureButton *com1 = r.ico(buttons::com1), *com2 = r.ico(buttons::com2);
        QTest::mouseClick(com2, Qt::LeftButton);
        QCOMPARE(r.st.com_port, 2);
        QTest::mouseClick(com1, Qt::RightButton);
        QCOMPARE(r.st.com_port, 1);
        for (const auto reason : {QContextMenuEvent::Mouse, QContextMenuEvent::Keyboard}) {
            QContextMenuEvent asked(reason, QPoint(2, 2), com1->mapToGlobal(QPoint(2, 2)));
            QCoreApplication::sendEvent(com1, &asked);
            QCOMPARE(menus.open_menu() != nullptr, reason == QContextMenuEvent::Keyboard);
        }
        menus.open_menu()->close();
        QTest::keyClick(com2, Qt::Key_Menu);
        QCOMPARE(menus.open_menu()->actions().first()->text(), QString("COM2 device"));
        menus.open_menu()->close();

        const int opens = r.port.opens;
        QTest::mousePress(com2, Qt::LeftButton);
        QTRY_VERIFY(menus.open_menu());
        menus.open_menu()->close();
        QTest::mouseRelease(com2, Qt::LeftButton);  // the end of the long press
        QCOMPARE(r.port.opens, opens);
        QTest::mouseClick(com2, Qt::LeftButton);  // and the next click is one
        QVERIFY(r.port.opens == opens + 1 && r.st.com_port == 2);
        QTest::mousePress(com1, Qt::LeftButton);  // dragged off the button: no long press
        QMouseEvent off(QEvent::MouseMove, QPointF(-5, -5), com1->mapToGlobal(QPointF(-5, -5)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(com1, &off);
        QTest::qWait(100);
        QVERIFY(!menus.open_menu());
        QTest::mouseRelease(com1, Qt::LeftButton, {}, QPoint(-5, -5));

        // From the tray: the device menu of each COM number.
        r.click(buttons::tray);
        QMenu* devices = r.frm().tray_icon()->contextMenu()->actions().at(1)->menu();
        QCOMPARE(entries(devices) << devices->title(), (QStringList{"COM1", "COM2", "Serial device"}));
        QMenu* com1_devices = devices->actions().at(0)->menu();
        emit com1_devices->aboutToShow();
        com1_devices->actions().at(2)->trigger();
        QCoreApplication::processEvents();
        QVERIFY(r.st.com_port == 1 && r.port.device_name(1) == kFtdi.stable_name);
    }

    void a_chosen_device_is_used_and_remembered_and_the_command_line_wins()
    {
        PanelRig r;
        r.devices.listed = {kBuiltIn, kFtdi, kProlific};
        r.start();
        QVERIFY(tooltip(r.ico(buttons::com1)).startsWith("COM1: Serial port \u2014 /dev/ttyS0"));
        QMenu* menu = r.frm().device_menu()->open_menu(1);
        QCOMPARE(entries(menu), QStringList({"COM1 device", "[x] Serial port \u2014 /dev/ttyS0",
                                             "FT232R USB UART, FTDI \u2014 /dev/ttyUSB0 \u2014 "
                                             "usb-FTDI_FT232R_USB_UART_A10-if00-port0",
                                             "Prolific USB-Serial \u2014 /dev/ttyUSB1",  // the maker not said twice
                                             "", "Other device\u2026"}));

        const int sent = r.sent().size();
        choose_with_keys(menu, "FT232R");
        QVERIFY(read_file(map_file(r)) == format_device_map(kFtdi.stable_name, "")
                && r.port.device_name(1) == kFtdi.stable_name);
        QCoreApplication::processEvents();  // another device: the panel catches up with its box
        QCOMPARE(r.sent().mid(sent, 2), QStringList({"VER999", "PWR999"}));

        // The next run uses it by its stable name, whatever it is called now.
        r.devices.listed = {kBuiltIn, usb_adapter("/dev/ttyUSB3", "A10")};
        r.restart();
        QCOMPARE(r.port.device_name(1), kFtdi.stable_name);
        QVERIFY(tooltip(r.ico(buttons::com1)).contains("FT232R USB UART, FTDI \u2014 /dev/ttyUSB3"));

        // --com1 holds for one run and changes nothing remembered.
        r.restart([](ComDevices& run) { run.set_override(1, "/tmp/qv/com1"); });
        QCOMPARE(r.port.device_name(1), QString("/tmp/qv/com1"));
        r.frm().close();
        QCOMPARE(read_file(map_file(r)), format_device_map(kFtdi.stable_name, ""));
        // COM2's choice is read back the same way (two adapters: no guess).
        write_file(map_file(r), format_device_map("", kFtdi.stable_name));
        r.devices.listed << kProlific;
        r.restart();
        QVERIFY(tooltip(r.ico(buttons::com2)).contains("FT232R USB UART, FTDI \u2014 /dev/ttyUSB3"));
    }

    // The default stands in and the message line says why; the file stays.
    void what_cannot_be_used_at_start_up_is_said()
    {
        const QByteArray gone = "COM1=/dev/serial/by-id/usb-gone\n";
        const std::tuple<QByteArray, QList<SerialDeviceInfo>, QString, QString> cases[] = {
            {" ", {kBuiltIn}, "Device file unreadable", "it is empty"},
            {gone, {kBuiltIn}, "COM1 device missing", "/dev/serial/by-id/usb-gone, is not there"},
            {"", {kFtdi, kProlific}, "Choose the COM1 device", "2 USB serial devices"},  // no guessing
        };
        for (const auto& [text, present, caption, tip] : cases) {
            PanelRig r;
            r.devices.listed = present;
            if (!text.isEmpty())
                write_file(map_file(r), text);
            r.start();
            QCOMPARE(QStringList({r.port.device_name(1), r.caption()}), QStringList({"/dev/ttyS0", caption}));
            QVERIFY2(r.el().lab_msg->toolTip().contains(tip), qPrintable(r.el().lab_msg->toolTip()));
            r.frm().close();
            QCOMPARE(read_file(map_file(r)), text);
        }
        // One adapter and nothing behind /dev/ttyS0: nothing to do for the user.
        PanelRig one;
        one.devices.listed = {kFtdi};
        one.start();
        QCOMPARE(one.port.device_name(1), kFtdi.stable_name);
        QVERIFY(tooltip(one.ico(buttons::com1)).contains("only USB serial device"));
        // The default cannot open either: the dialog says why it was tried, and the chosen device is awaited.
        PanelRig none;
        write_file(map_file(none), gone);
        none.port.present.clear();
        none.start();
        QVERIFY(none.details[0].startsWith("The device chosen for COM1, /dev/serial/by-id/usb-gone, is not there.")
                && none.details[0].contains("hold the COM1 button down"));
    }

    // Special files where the settings belong: nothing hangs or reads without end, the file is named, the defaults
    // are used, and nothing is ever written through it.
    void special_files_where_settings_belong_are_named_and_kept()
    {
        using Make = std::function<bool(const QString&)>;
        const Make pipe = [](const QString& at) { return ::mkfifo(QFile::encodeName(at).constData(), 0600) == 0; };
        const Make link_to_pipe = [&](const QString& at) { return pipe(at + ".pipe") && QFile::link(at + ".pipe", at); };
        const Make link_to_zero = [](const QString& at) { return QFile::link("/dev/zero", at); };
        const Make folder = [](const QString& at) { return QDir().mkdir(at); };
        const Make huge = [](const QString& at) {
            QFile f(at);
            return f.open(QIODevice::WriteOnly) && f.resize(qint64(1) << 33);  // sparse
        };
        const std::tuple<bool, Make, QString> cases[] = {  // QVR_742_devices.ini or QVR_742.ini, how, what it is
            {false, pipe, "a named pipe"}, {false, link_to_pipe, "a named pipe"}, {false, folder, "a folder"},
            {false, huge, "far too large"}, {true, pipe, "a named pipe"}, {true, link_to_zero, "a character device"},
            {true, folder, "a folder"}, {true, huge, "far too large"},
        };
        for (const auto& [devices, make, kind] : cases) {
            PanelRig r(BoxConfig{}, devices ? "2,1,1500,1500,#FALSE#\r\n" : "");
            r.devices.listed = {kBuiltIn, kFtdi};
            const QString path = devices ? map_file(r) : r.settings_path();
            QVERIFY(make(path));
            const QString before = identity(path);
            r.start();
            const QString row = path + ", could not be read: it is " + kind;
            QVERIFY2(r.el().lab_msg->toolTip().contains(row), qPrintable(r.el().lab_msg->toolTip()));
            QCOMPARE(QStringList({r.caption(), r.st.panel_skin, r.port.device_name(1)}),
                     QStringList({devices ? "Device file unreadable" : "Settings file unreadable", devices ? "2" : "1",
                                  "/dev/ttyS0"}));
            if (devices && kind == "a named pipe") {  // choosing a device must not write into the pipe
                r.frm().device_menu()->choose(1, kFtdi.stable_name);
                QCOMPARE(r.messages.value(0), QString("Cannot remember the device for COM1"));
                QVERIFY2(r.details.value(0).startsWith(path + " is a named pipe, not a file."), qPrintable(row));
            }
            r.frm().close();
            if (devices || kind != "far too large") {
                QCOMPARE(identity(path), before);
                QVERIFY2(r.messages.contains("Cannot save the settings") != devices, qPrintable(row));
            }
        }
        // The start-up dialog of a port that would not open says why the default was tried.
        PanelRig none;
        QVERIFY(pipe(map_file(none)));
        none.port.present.clear();
        none.start();
        const QString why = "The file of chosen devices, " + map_file(none) + ", could not be read: it is a named pipe";
        QVERIFY2(none.details.value(0).startsWith(why), qPrintable(none.details.value(0)));

        // The bound holds to the byte, and a file that gives no size is read whole.
        QTemporaryDir dir;
        const QString bytes = dir.filePath("bytes");
        QFile file(bytes);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(100, 'x')) == 100);
        file.close();
        QCOMPARE(read_regular_file(bytes, 100).bytes.size(), 100);
        QVERIFY(read_regular_file(bytes, 99).problem.contains("far too large"));
        QVERIFY(read_regular_file("/proc/self/status", 1 << 16).bytes.contains("\nPid:"));
    }

    void what_cannot_be_used_from_the_menu_is_refused()
    {
        PanelRig r;
        r.devices.listed = {kBuiltIn, kFtdi};
        r.start();
        ComDeviceMenu& menus = *r.frm().device_menu();
        const int opens = r.port.opens;
        r.devices.paths.insert("/etc/passwd");
        r.devices.problems["/etc/passwd"] = "/etc/passwd is not a serial device.";
        menus.ask_path = [](int, const QString& current) { return current == "/dev/ttyS0" ? "/etc/passwd" : ""; };
        choose_with_keys(menus.open_menu(1), "Other device");
        QVERIFY(r.messages == QStringList{"Cannot use /etc/passwd for COM1"}
                && r.details.last().contains("is not a serial device"));

        QMenu* menu = menus.open_menu(1);
        r.devices.unplug(kFtdi.path);  // while its menu is open
        choose_with_keys(menu, "FT232R");
        QCOMPARE(r.messages.last(), QString("/dev/ttyUSB0 is not there any more"));
        QVERIFY(r.port.opens == opens && r.port.device_name(1) == "/dev/ttyS0" && read_file(map_file(r)).isEmpty());

        // A pty typed by hand is taken, and shown as in use.
        r.devices.paths.insert("/tmp/qv/com1");
        menus.ask_path = [](int, const QString&) { return QString("/tmp/qv/com1"); };
        choose_with_keys(menus.open_menu(2), "Other device");
        QVERIFY(r.st.com_port == 2 && entries(menus.open_menu(2)).filter("[x]") == QStringList{"[x] /tmp/qv/com1"});
    }
};

QV_REGISTER_TEST(TestDeviceMenu)
#include "tst_device_menu.moc"
