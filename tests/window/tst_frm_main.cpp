// Start-up and shut-down of the real panel window, its receive monitor, and the window where a compositor places and
// moves windows: which place the settings keep, and the desktop showing around the outline.

#include "app/panel_files.h"
#include "link/serial_device.h"
#include "monitor/frm_rx.h"
#include "monitor/log_wrap.h"
#include "panel_rig.h"
#include "test_registry.h"
#include "window/message_box.h"
#include "window/outline.h"
#include "window/panel_placement.h"
#include "window/port_messages.h"
#include "window/settings_file.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QDir>
#include <grp.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

class TestFrmMain : public QObject {
    Q_OBJECT
private slots:
    void position_and_skin_come_from_the_settings_within_the_screen()
    {
        StartedPanel r(BoxConfig{}, "1,1,-10,300,#FALSE#\r\n");
        QVERIFY(r.frm().pos() == QPoint(0, 20) && !(r.frm().windowFlags() & Qt::WindowStaysOnTopHint));
        QCOMPARE(r.el().lab_text[0]->height(), r.el().lab_text[0]->sizeHint().height());  // as high as its text
        r.frm().close();
        QCOMPARE(r.read_settings(), QByteArray("1,1,0,300,#FALSE#\r\n"));

        // Any skin but 1 is the flowers; left = screen width is kept.
        StartedPanel edge(BoxConfig{}, "7,1,15360,99999,#FALSE#\r\n"), same(BoxConfig{}, "2,2,4320,3000,#TRUE#\r\n");
        QVERIFY(edge.frm().pos() == QPoint(1024, 0) && edge.picture(buttons::sys_reset) == "2_sys_reset_0");
        edge.frm().close();
        QVERIFY(edge.read_settings().startsWith("2,1,15360,"));
        // A run without changes writes back the same values.
        same.frm().close();
        QCOMPARE(same.read_settings(), QByteArray("2,2,4320,3000,#TRUE#\r\n"));
        PanelRig kept;  // a file to keep gives the starting values: it moves to where only reading happens
        kept.env.settings_read_path = kept.dir.filePath("kept.ini");
        QVERIFY(QFile::rename(kept.settings_path(), kept.env.settings_read_path));
        kept.start();
        kept.frm().close();
        QCOMPARE(kept.read_settings(), QByteArray("1,1,1500,1500,#FALSE#\r\n"));
    }

    void a_missing_or_short_file_starts_safely()
    {
        // A port number other than 1 or 2 counts as unreadable too.
        for (const QByteArray content : {"", "garbage", "2,2", "1,3", "1,-5"}) {
            StartedPanel r(BoxConfig{}, content);
            QCOMPARE(r.st.panel_skin + QString::number(r.st.com_port), QString(content == "2,2" ? "22" : "11"));
            QVERIFY(r.st.win_on_top && (r.frm().windowFlags() & Qt::WindowStaysOnTopHint));
            QCOMPARE(r.frm().pos(), QPoint((1024 - r.frm().width()) / 2, (768 - r.frm().height()) / 2));
            r.frm().close();
            QVERIFY(parse_settings(r.read_settings()).complete());
        }
    }

    void a_missing_bitmap_is_named_and_the_panel_still_runs()
    {
        PanelRig r;
        r.env.bmp_dir = r.dir.filePath("no-bitmaps");
        r.start();
        QVERIFY(r.messages.size() == 2 && r.messages[0].contains("blue_panel.bmp") && r.messages[1].contains("1_panel.bmp"));
        QVERIFY(r.frm().mask().isEmpty() && r.frm().size() == QSize(306, 118));  // rectangular
        QVERIFY(r.el().pic_win->autoFillBackground() && r.st.power_state == 1);  // and it talks to the box

        // Special files where the bitmaps belong: said, and never waited on.
        PanelRig odd;
        const QString bmp = odd.dir.filePath("bmp");
        QVERIFY(QDir().mkpath(bmp + "/1_panel.bmp"));
        QVERIFY(::mkfifo(QFile::encodeName(bmp + "/blue_panel.bmp").constData(), 0600) == 0);
        odd.env.bmp_dir = bmp;
        odd.start();
        QVERIFY(odd.details.size() == 2 && odd.details[0].startsWith("it is a named pipe, not a file")
                && odd.details[1].startsWith("it is a folder, not a file"));
        QVERIFY(QFile::remove(bmp + "/blue_panel.bmp") && QFile::link("/dev/zero", bmp + "/blue_panel.bmp"));
        PanelRig endless;
        endless.env.bmp_dir = bmp;
        endless.start();
        QVERIFY(!endless.details.isEmpty() && endless.details[0].startsWith("it is a character device"));
    }

    void port_messages_say_what_to_do()
    {
        SerialAccess outsider, uucp, pending, holding;
        uucp.group = "uucp";
        pending.member = true;  // added already, but this session predates it
        holding.in_session = holding.member = true;
        const std::tuple<int, QString, QString, SerialAccess, QStringList, QStringList> cases[] = {
            {1, "/dev/ttyUSB0", "Permission denied", outsider,
             {"/dev/ttyUSB0: Permission denied.", "sudo adduser $USER dialout", "log out and in again"}, {"nother"}},
            {1, "/dev/ttyUSB0", "Operation not permitted", uucp, {"sudo adduser $USER uucp"}, {}},
            {1, "/dev/ttyUSB0", "Permission denied", pending, {"og out and in again"}, {"adduser"}},
            {1, "/dev/ttyUSB0", "Permission denied", holding, {"ls -l /dev/ttyUSB0"}, {"adduser"}},
            // Qt's lock held by another program, or a busy device: not a group matter.
            {1, "/dev/ttyUSB0", "Permission error while locking the device", outsider, {"Another program"}, {"adduser"}},
            {1, "/dev/ttyUSB0", "Device or resource busy", outsider, {"Another program is using the port"}, {"adduser"}},
            // The advice names the option of the port that failed.
            {2, "/dev/ttyUSB0", "No such file or directory", outsider, {"--com2 /dev/ttyUSB0"}, {"--com1"}},
            {1, "/dev/null", kNotSerialDevice, outsider, {"/dev/null is not a serial device."}, {"nother program"}},
            {1, "/dev/ttyUSB0", kLockNameTooLong, outsider, {"Use a shorter path"}, {"nother program"}},
            {1, "/dev/ttyS0", "Input/output error", outsider, {"no serial port"}, {}},  // a node without a port
            {1, "/dev/ttyUSB0", "Something odd", outsider, {"Press a COM button to try again."}, {}},
        };
        for (const auto& [com, device, reason, access, says, never] : cases) {
            const QString d = port_failure_detail(com, device, reason, access);
            for (const QString& part : says + never)
                QVERIFY2(d.contains(part) == says.contains(part), qPrintable(part + " in: " + d));
        }
        // The box stays on the screen, whatever the path.
        const QString path = "/dev/serial/by-id/" + QString(120000, 'x') + "-end";
        const auto box = make_message_box(nullptr, "Scan Converter", "PC error on COM1: !", path + ": gone.");
        QCOMPARE(box->sizeHint().boundedTo(QGuiApplication::primaryScreen()->availableSize()), box->sizeHint());
        const QString shown = box->informativeText();
        QVERIFY(shown.startsWith("/dev/serial/by-id/x") && shown.endsWith("x-end: gone."));
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
        // The user's own primary group, unless root, who is in no other.
        QCOMPARE((QList<bool>{access.in_session, access.member}), QList<bool>(2, ::geteuid() != 0));
    }

    void asked_to_end_during_start_up_it_stops_and_keeps_the_settings()
    {
        PanelRig r({}, "2,1,4500,3000,#FALSE#\r\n");
        r.port.present = {};
        // The port's message box is open when the request to end arrives.
        r.env.message_box = [&r](const QString& text, const QString&) { r.messages << text, r.frm().close(); };
        r.start();
        QVERIFY(r.frm().has_finished() && !r.frm().isVisible());  // start-up did not go on
        QCOMPARE(r.messages, QStringList{"PC error on COM1: !"});
        QCOMPARE(r.read_settings(), QByteArray("2,1,4500,3000,#FALSE#\r\n"));
    }

    void finds_its_files_beside_it_or_where_installed()
    {
        const auto found = [](const QString& folder) {
            const PanelFiles files = locate_panel_files(folder);
            return QStringList{files.bmp_dir, files.settings_path};
        };
        QTemporaryDir portable, prefix;
        QVERIFY(QDir(portable.path()).mkdir("bmp"));
        QCOMPARE(found(portable.path()), QStringList({portable.filePath("bmp"), portable.filePath("QVR_742.ini")}));
        // Installed: bin/ beside share/qv742/bmp; settings with the user, even if the program's folder is writable.
        QVERIFY(QDir(prefix.path()).mkpath("bin") && QDir(prefix.path()).mkpath("share/qv742/bmp"));
        QCOMPARE(found(prefix.filePath("bin")), QStringList({prefix.filePath("share/qv742/bmp"), user_settings_path()}));
    }

    void the_settings_keep_a_place_the_compositor_chose()
    {
        const auto x11 = WindowSystem::x11, xwayland = WindowSystem::xwayland, wayland = WindowSystem::wayland;
        const std::optional<QPoint> none;
        const QPoint stored(1500, 1500), centre(5385, 4695), dragged(2000, 900);
        // Where the file put it, where it was asked for, where the user first moved it from, where it is, what is saved.
        const std::tuple<WindowSystem, std::optional<QPoint>, QPoint, std::optional<QPoint>, QPoint, QPoint> cases[] = {
            {x11, stored, stored, none, dragged, dragged},
            {wayland, QPoint(-200, 1500), QPoint(0, 1500), QPoint(0, 0), QPoint(0, 0), QPoint(-200, 1500)},
            {wayland, none, centre, none, QPoint(0, 0), centre},     // no file: the centre asked for
            {xwayland, stored, stored, stored, dragged, dragged},    // placed as asked: like X11
            {xwayland, stored, stored, centre, dragged, stored},     // placed elsewhere
            {xwayland, stored, stored, none, centre, stored},
            {xwayland, none, QPoint(6000, 4000), none, centre, centre},
        };
        for (const auto& [system, from_file, requested, moved_from, now, saved] : cases) {
            PanelPlacement placement(system);
            placement.placed(from_file, requested);
            if (moved_from)
                placement.user_moves(*moved_from), placement.user_moves(now);
            QCOMPARE(placement.to_save(now), saved);
        }
    }

    void on_a_compositor_the_desktop_shows_around_the_outline()
    {
        const QImage outline(source_bmp_dir() + "/blue_panel.bmp");
        const QPoint outside(0, 0), inside(outline.width() / 2, outline.height() / 2);  // a corner is off the panel
        QCOMPARE(outline.pixel(outside) & 0xFFFFFF, 0xFFFFFFu);

        for (const WindowSystem system : {WindowSystem::x11, WindowSystem::xwayland, WindowSystem::wayland}) {
            PanelRig r;
            r.desktop.system = system;
            r.start();
            const bool compositor = system != WindowSystem::x11;
            QCOMPARE(r.frm().testAttribute(Qt::WA_TranslucentBackground), compositor);
            QVERIFY(!r.frm().mask().contains(outside));  // clicks stay out all the same
            // Either skin is painted inside the outline only.
            for (const char* skin : {"1", "2"}) {
                r.st.panel_skin = skin;
                r.frm().load_skin_pictures();
                const QImage shown = r.el().pic_win->pixmap().toImage();
                QVERIFY(qAlpha(shown.pixel(outside)) == (compositor ? 0 : 255) && qAlpha(shown.pixel(inside)) == 255);
            }

            // A press on the background (the compositor declines here), a move, and shut-down: only X11 and an
            // XWayland that honoured the place save it.
            QTest::mousePress(r.el().pic_win, Qt::LeftButton, {}, QPoint(10, 100));
            r.frm().move(50, 60);
            r.frm().close();
            QCOMPARE(r.read_settings(), system == WindowSystem::wayland ? QByteArray("2,1,1500,1500,#FALSE#\r\n")
                                                                        : QByteArray("2,1,750,900,#FALSE#\r\n"));
        }
        QCOMPARE(clear_outside(QImage(4, 1, QImage::Format_RGB32), QRegion(1, 0, 2, 1)).pixel(0, 0), 0u);
    }

    void the_monitor_shows_every_collected_message()
    {
        StartedPanel r;
        FrmRx* monitor = r.frm().monitor();
        QVERIFY(monitor && monitor->isVisible() && monitor->opt_win(1)->isChecked());
        QCOMPARE(QRect(monitor->pos(), monitor->size()), QRect(0, 0, 324, 258));
        QVERIFY(monitor->txt_test()->toPlainText().startsWith("VER105 PWR001 ASP000 "));

        r.link().receive_log().clear();
        monitor->sync_log();
        r.link().tx_cmd("VER999");
        r.port.unanswered << "PWR999";
        r.link().tx_cmd("PWR999");  // no answer at all: nothing
        r.box_says("PWR");          // cut short: NONE
        QCOMPARE(monitor->txt_test()->toPlainText(), QString("VER105 NONE "));
        QTest::mouseClick(monitor->cmd_clear(), Qt::LeftButton);
        QCOMPARE(monitor->txt_test()->toPlainText(), QString());
        QVERIFY(r.link().receive_log().text().isEmpty());

        // It follows the newest entry unless scrolled up.
        for (int i = 0; i < 400; ++i)
            r.box_says("XYZ123");
        QScrollBar* bar = monitor->txt_test()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0 && bar->value() == bar->maximum());
        bar->setValue(0);
        r.box_says("XYZ123");
        QCOMPARE(bar->value(), 0);

        // Big and small, however the choice changed.
        const auto widths = [&] { return QList<int>{monitor->width(), monitor->txt_test()->width(), monitor->height()}; };
        monitor->opt_win(0)->click();
        QCOMPARE(widths(), QList<int>({1024, 1004, 258}));
        monitor->opt_win(1)->setChecked(true);  // as assistive technology does, without a click
        QCOMPARE(widths(), QList<int>({341, 321, 258}));  // 15360 / 3 twips

        // Closed, it comes back empty and hidden at the next entry, until asked for.
        r.frm().monitor()->close();
        QTRY_VERIFY(!r.frm().monitor());
        QVERIFY(r.link().receive_log().text().isEmpty());
        r.box_says("ASP001");
        FrmRx* fresh = r.frm().monitor();
        QVERIFY(fresh && !fresh->isVisible() && fresh->pos() == QPoint(0, 0));
        QCOMPARE(fresh->txt_test()->toPlainText(), QString("ASP001 "));
        QTest::mouseDClick(r.el().img_connect, Qt::LeftButton);  // asked for again
        QVERIFY(fresh->isVisible() && !r.frm().dragging());
        fresh->close();  // and from the keyboard
        QTRY_VERIFY(!r.frm().monitor());
        QApplication::setActiveWindow(&r.frm());
        QTRY_VERIFY(r.frm().isActiveWindow());
        QTest::keyClick(&r.frm(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(r.frm().monitor() && r.frm().monitor()->isVisible());

        // Shut-down releases everything, the monitor too, once.
        r.frm().show();
        r.frm().close();
        QVERIFY(!r.st.port_open && !r.link().polling() && (!r.frm().monitor() || !r.frm().monitor()->isVisible()));
        r.write_settings("changed");
        r.frm().close();  // a second close writes nothing more
        QCOMPARE(r.read_settings(), QByteArray("changed"));
        // The view wraps between entries.
        const QString shown = LogWrap{20, 0}.append(QStringLiteral("VER105 PWR001 ASP000 NONE SCN001 \nAB\x01" "DE "));
        QCOMPARE(shown, QString("VER105 PWR001 ASP000 \nNONE SCN001 \u00b7AB\u00b7DE "));  // control characters as dots
        // Entry by entry gives the same view as all at once.
        LogWrap step{20, 0};
        QString pieces;
        for (const QString& entry : QStringList{"VER105 ", "PWR001 ", "ASP000 ", "NONE ", "SCN001 "})
            pieces += step.append(entry);
        QVERIFY(shown.startsWith(pieces));
    }
};

QV_REGISTER_TEST(TestFrmMain)
#include "tst_frm_main.moc"
