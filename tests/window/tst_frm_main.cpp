// Start-up and shut-down of the real panel window.

#include "app/panel_files.h"
#include "app/single_instance.h"
#include "link/serial_device.h"
#include "panel_rig.h"
#include "test_registry.h"
#include "monitor/frm_rx.h"
#include "window/message_box.h"
#include "window/outline.h"
#include "window/port_messages.h"
#include "window/settings_file.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <grp.h>
#include <unistd.h>

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void position_comes_from_the_settings_within_the_screen()
    {
        PanelRig r({}, "1,1,-10,300,#FALSE#\r\n");
        r.start();
        QCOMPARE(r.frm().pos(), QPoint(0, 20));
        r.frm().close();
        QCOMPARE(r.read_settings(), QByteArray("1,1,0,300,#FALSE#\r\n"));

        PanelRig edge({}, "1,1,15360,99999,#FALSE#\r\n"), same({}, "2,2,4320,3000,#TRUE#\r\n");
        edge.start();
        QCOMPARE(edge.frm().pos(), QPoint(1024, 0));  // left = screen width: kept
        // A run without changes writes back the same values.
        same.start();
        same.frm().close();
        QCOMPARE(same.read_settings(), QByteArray("2,2,4320,3000,#TRUE#\r\n"));
    }

    void any_skin_but_1_is_flower()
    {
        PanelRig r({}, "7,1,0,0,#FALSE#\r\n");
        r.start();
        QCOMPARE(r.st.panel_skin, QString("2"));
        QCOMPARE(r.picture(6), QString("2_sys_reset_0"));
        QCOMPARE(r.el().lab_text[0]->palette().color(QPalette::WindowText), QColor(Qt::white));
        r.frm().close();
        QVERIFY(r.read_settings().startsWith("2,1,"));
    }

    void a_missing_or_short_file_starts_safely()
    {
        // A port number other than 1 or 2 counts as unreadable too.
        for (const QByteArray& content : {QByteArray(), QByteArray("garbage"), QByteArray("2,2"), QByteArray("1,3"),
                                          QByteArray("1,-5")}) {
            PanelRig r({}, content);
            r.start();
            QCOMPARE(r.st.panel_skin, content == "2,2" ? QString("2") : QString("1"));
            QCOMPARE(r.st.com_port, content == "2,2" ? 2 : 1);
            QVERIFY(r.st.win_on_top && (r.frm().windowFlags() & Qt::WindowStaysOnTopHint));
            // Centred on the 1024 x 768 screen.
            QCOMPARE(r.frm().pos(), QPoint((1024 - r.frm().width()) / 2, (768 - r.frm().height()) / 2));
            r.frm().close();
            QVERIFY(parse_settings(r.read_settings()).complete());
        }
        PanelRig not_on_top({}, "1,1,0,0,#FALSE#\r\n");
        not_on_top.start();
        QVERIFY(!(not_on_top.frm().windowFlags() & Qt::WindowStaysOnTopHint));
    }

    void outline_and_layout_come_from_the_panel_bitmap()
    {
        // The outline and the positions: tst_high_dpi, at every scale.
        PanelRig r;
        r.start();
        // Text is Arial 8.25 points; labels are as high as such a label.
        QCOMPARE(r.el().lab_panel->font().family(), QString("Arial"));
        QVERIFY(!r.el().lab_panel->font().bold() && r.el().lab_text[0]->font().bold());
        QCOMPARE(r.el().lab_text[0]->height(), 13);
        QCOMPARE(r.caption(), QString("Good Day !"));  // the box answered without changing it
        QVERIFY(r.messages.isEmpty());
    }

    void a_missing_bitmap_is_named_and_the_panel_still_runs()
    {
        PanelRig r;
        QTemporaryDir empty;
        r.env.bmp_dir = empty.path();
        r.start();
        QCOMPARE(r.messages.size(), 2);
        QVERIFY(r.messages[0].contains("blue_panel.bmp") && r.messages[1].contains("1_panel.bmp"));
        QVERIFY(r.frm().mask().isEmpty());  // rectangular
        QCOMPARE(r.frm().size(), QSize(306, 118));
        QVERIFY(r.el().pic_win->autoFillBackground());
        QCOMPARE(r.st.power_state, 1);  // and it talks to the box
    }

    void a_settings_file_to_keep_gives_the_starting_values()
    {
        PanelRig r;  // its file moves to where only reading happens
        r.env.settings_read_path = r.dir.filePath("kept.ini");
        QVERIFY(QFile::rename(r.settings_path(), r.env.settings_read_path));
        r.start();
        r.frm().close();
        QCOMPARE(r.read_settings(), QByteArray("1,1,1500,1500,#FALSE#\r\n"));
    }

    void port_messages_say_what_to_do()
    {
        const QString device = "/dev/ttyUSB0";
        SerialAccess outsider;
        QString d = port_failure_detail(1, device, "Permission denied", outsider);
        QVERIFY(d.startsWith("/dev/ttyUSB0: Permission denied.") && d.contains("sudo adduser $USER dialout"));
        QVERIFY(d.contains("log out and in again") && !d.contains("another program", Qt::CaseInsensitive));

        // The device's own group is named where it is not dialout.
        SerialAccess uucp;
        uucp.group = "uucp";
        QVERIFY(port_failure_detail(1, device, "Operation not permitted", uucp).contains("sudo adduser $USER uucp"));

        // Added already, but this session predates it: no second adduser.
        SerialAccess pending;
        pending.member = true;
        d = port_failure_detail(1, device, "Permission denied", pending);
        QVERIFY(!d.contains("adduser") && d.contains("log out and in again", Qt::CaseInsensitive));

        SerialAccess holding;
        holding.in_session = holding.member = true;
        d = port_failure_detail(1, device, "Permission denied", holding);
        QVERIFY(!d.contains("adduser") && d.contains("ls -l /dev/ttyUSB0"));

        // Qt's lock held by another program, or a busy device: not a group matter.
        for (const QString& busy : {QString("Permission error while locking the device"),
                                    QString("Device or resource busy")}) {
            d = port_failure_detail(1, device, busy, outsider);
            QVERIFY2(d.contains("Another program is using the port") && !d.contains("adduser"), qPrintable(d));
        }
        // The advice names the option of the port that failed.
        d = port_failure_detail(2, device, "No such file or directory", outsider);
        QVERIFY(d.contains("--com2 /dev/ttyUSB0") && !d.contains("--com1"));
        // Not a serial port at all, or a path too long for a lock file: not a busy port.
        d = port_failure_detail(1, "/dev/null", kNotSerialDevice, outsider);
        QVERIFY(d.startsWith("/dev/null is not a serial device."));
        QVERIFY(port_failure_detail(1, device, kLockNameTooLong, outsider).contains("Use a shorter path"));
        // A ttyS node without a serial port behind it.
        QVERIFY(port_failure_detail(1, "/dev/ttyS0", "Input/output error", outsider).contains("no serial port"));
        QVERIFY(port_failure_detail(1, device, "Something odd", outsider).endsWith("Press a COM button to try again."));
    }

    void serial_access_reads_the_device_group()
    {
        QTemporaryDir dir;
        const QString node = dir.filePath("ttyFAKE");
        QVERIFY(QFile(node).open(QIODevice::WriteOnly));
        QCOMPARE(serial_access(dir.filePath("missing")).group, QString("dialout"));
        const ::group* g = ::geteuid() == 0 ? ::getgrnam("dialout") : ::getgrgid(::getegid());
        if (!g || g->gr_gid == 0)
            QSKIP("no group other than root to hand the file to");
        QCOMPARE(::chown(QFile::encodeName(node).constData(), static_cast<uid_t>(-1), g->gr_gid), 0);
        const SerialAccess access = serial_access(node);
        QCOMPARE(access.group, QString::fromLocal8Bit(g->gr_name));
        if (::geteuid() != 0)  // the file now has the user's own primary group
            QVERIFY(access.in_session && access.member);
    }

    void shut_down_releases_everything_once()
    {
        PanelRig r;
        r.start();
        r.frm().show();
        r.frm().close();
        QVERIFY(!r.st.port_open && !r.link().polling());
        QVERIFY(!r.frm().monitor() || !r.frm().monitor()->isVisible());
        r.write_settings("changed");
        r.frm().close();  // a second close writes nothing more
        QCOMPARE(r.read_settings(), QByteArray("changed"));
    }

    void asked_to_end_during_start_up_it_stops_and_keeps_the_settings()
    {
        PanelRig r({}, "2,1,4500,3000,#FALSE#\r\n");
        r.port.present = {};
        // The port's message box is open when the request to end arrives.
        r.env.message_box = [&r](const QString& text, const QString&) {
            r.messages << text;
            r.frm().close();
        };
        r.start();
        QVERIFY(r.frm().has_finished());
        QCOMPARE(r.messages, QStringList{"PC error on COM1: !"});
        QVERIFY(!r.frm().isVisible());      // start-up did not go on
        QCOMPARE(r.read_settings(), QByteArray("2,1,4500,3000,#FALSE#\r\n"));
    }

    // Logout sends a request to end: no box may hold the program.
    void a_request_to_end_closes_an_open_box()
    {
        PanelRig r;
        QFile::remove(r.settings_path());
        QVERIFY(QDir(r.dir.path()).mkdir("QVR_742.ini"));  // saving fails at shut-down
        r.env.message_box = nullptr;                        // the real box
        r.start();
        bool box_open = false;
        QTimer::singleShot(50, &r.frm(), [&] {
            box_open = QApplication::activeModalWidget();
            r.frm().end_on_request();
        });
        QTimer::singleShot(3000, close_modal_dialogs);  // the test itself never hangs
        r.frm().close();
        QVERIFY(box_open && !QApplication::activeModalWidget());
    }

    void message_boxes_stay_on_the_screen()
    {
        const QString path = "/dev/serial/by-id/" + QString(120000, 'x') + "-end";
        const auto box = make_message_box(nullptr, "Scan Converter", "PC error on COM1: !", path + ": gone.");
        const QSize screen = QGuiApplication::primaryScreen()->availableSize();
        QVERIFY(box->sizeHint().width() <= screen.width() && box->sizeHint().height() <= screen.height());
        const QString shown = box->informativeText();
        QVERIFY(shown.startsWith("/dev/serial/by-id/x") && shown.endsWith("x-end: gone."));
    }

    void finds_its_files_beside_it_or_where_installed()
    {
        QTemporaryDir portable, prefix;
        QDir(portable.path()).mkdir("bmp");
        PanelFiles files = locate_panel_files(portable.path());
        QCOMPARE(files.bmp_dir, portable.filePath("bmp"));
        QCOMPARE(files.settings_path, portable.filePath("QVR_742.ini"));

        // Installed: bin/ beside share/qv742/bmp; settings with the user,
        // even where the program's folder could be written.
        QDir(prefix.path()).mkpath("bin");
        QDir(prefix.path()).mkpath("share/qv742/bmp");
        files = locate_panel_files(prefix.filePath("bin"));
        QCOMPARE(files.bmp_dir, prefix.filePath("share/qv742/bmp"));
        QCOMPARE(files.settings_path, user_settings_path());
        QVERIFY(!files.settings_path.startsWith(prefix.path()));
    }

    void only_one_instance_runs()
    {
        QTemporaryDir dir;
        SingleInstance first(dir.filePath("lock")), second(dir.filePath("lock"));
        QVERIFY(first.acquire() && !second.acquire());
    }
};

QV_REGISTER_TEST(TestFrmMain)
#include "tst_frm_main.moc"
