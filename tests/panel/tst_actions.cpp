// What every button does, against the simulated box on virtual time.

#include "magnifier/frm_mag.h"
#include "panel/hover.h"
#include "panel/pages.h"
#include "widgets/option_label.h"
#include "panel/option_lines.h"
#include "panel/video_sliders.h"
#include "panel_rig.h"
#include "test_registry.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QSystemTrayIcon>

namespace {

// Clicks in turn (negative: held); what they sent, in order.
QStringList clicks(PanelRig& r, std::initializer_list<int> buttons)
{
    QStringList out;
    for (int b : buttons)
        out += r.click(std::abs(b), b < 0);
    return out;
}

}  // namespace

class TestActions : public QObject {
    Q_OBJECT
private slots:
    void power_switches_the_box_and_resynchronises()
    {
        BoxConfig off;
        off.power_on = false;
        StartedPanel r(off);
        bool locked = true;  // while it switches on, power and magnifier cannot be pressed
        r.on_events = [&] { locked = locked && !r.ico(buttons::power)->isEnabled() && !r.ico(buttons::magnifier)->isEnabled(); };
        QCOMPARE(r.click(buttons::power), QStringList{"PWR001"} + kModeQueries);
        r.on_events = nullptr;
        QVERIFY(locked && r.st.power_state == 1 && r.modes_enabled(true));
        QCOMPARE(r.shows({buttons::power}), (QStringList{"1_power_on_0", "Power On"}));  // the normal picture after the click

        QCOMPARE(r.click(buttons::power) << r.caption(), (QStringList{"PWR000", "Power Off"}));
        QVERIFY(r.st.power_state == 0 && r.modes_enabled(false));

        r.port.unanswered << "PWR001";  // power on without a reply: only power and magnifier stay usable
        QCOMPARE(r.click(buttons::power), QStringList{"PWR001"});
        QVERIFY(r.st.power_state == 0 && r.modes_enabled(false));
        r.port.unanswered = QStringList{"PWR000"};  // power off without a reply changes nothing
        r.st.power_state = 1;
        enable_icons(r.p(), true);
        r.click(buttons::power);
        QVERIFY(r.st.power_state == 1 && r.ico(buttons::sys_reset)->isEnabled());

        r.port.unanswered.clear();  // switched on in zoom mode: the zoom page comes, its button takes the caption
        r.box.receive("PWR000ZOM001", 0);
        r.st.power_state = 0;
        QCOMPARE(r.click(buttons::power) << r.caption(), (QStringList{"PWR001"} + kModeQueries + QStringList{"ARA999", "Zoom"}));
    }

    void scan_aspect_output_and_freeze()
    {
        StartedPanel r;
        QCOMPARE(r.click(buttons::scan), QStringList{"SCN001"});
        QCOMPARE(r.shows({buttons::scan, buttons::position, buttons::size}), (QStringList{"1_scan_over_0", "1_pan_0", "1_expand_0", "Overscan"}));
        QCOMPARE(r.click(buttons::scan) << r.picture(buttons::position), (QStringList{"SCN000", "1_move_0"}));

        r.port.unanswered << "SCN001";  // no reply: scan unchanged, but the page and the three pictures are redone
        r.st.current_page = pages::reset;
        QList<int> loads;
        for (int b : {buttons::scan, buttons::position, buttons::size})
            loads << r.ico(b)->picture_loads();
        r.click(buttons::scan);
        QVERIFY(r.st.scan_mode == 0 && r.st.current_page == pages::main);
        for (int b : {buttons::scan, buttons::position, buttons::size})
            QVERIFY(r.ico(b)->picture_loads() > loads.takeFirst());

        QCOMPARE(clicks(r, {buttons::aspect, buttons::aspect, buttons::aspect}), (QStringList{"ASP001", "ASP002", "ASP000"}));
        r.port.unanswered << "ASP001";
        QCOMPARE(clicks(r, {buttons::aspect, buttons::aspect}), (QStringList{"ASP001", "ASP001"}));  // unanswered: the same again
        r.st.aspect_mode = 7;
        QCOMPARE(r.click(buttons::aspect), QStringList{"ASP000"});

        r.st.port_open = false;  // output and freeze toggle even with no box at all
        clicks(r, {buttons::output, buttons::freeze});
        QCOMPARE(r.shows({buttons::output, buttons::freeze}), (QStringList{"1_out_yuv_0", "1_freeze_on_0", "Freeze On"}));
        r.st.port_open = true;
        QCOMPARE(clicks(r, {buttons::output, buttons::freeze}), (QStringList{"FMT000", "FRZ000"}));
    }

    void zoom_page_and_its_areas()
    {
        StartedPanel r;
        const auto areas_on = [&] {
            QList<int> on;
            for (int i = 30; i <= 38; ++i)
                if (r.picture(i).contains("_on_"))
                    on << i;
            return on;
        };
        r.box.receive("ARA009", 0);  // the page marks the area the box reports
        QCOMPARE(r.click(buttons::zoom), (QStringList{"ZOM001", "ARA999"}));
        QVERIFY(r.st.current_page == pages::zoom && r.ico(buttons::power)->isEnabled() && r.ico(buttons::magnifier)->isEnabled());
        QVERIFY(areas_on() == QList<int>{38} && r.caption() == "Zoom");
        QCOMPARE(clicks(r, {buttons::zoom_area_button(5), buttons::zoom_area_button(1)}) << r.caption(),
                 (QStringList{"ARA005", "ARA001", "Zoom Area 1"}));
        QVERIFY(r.st.zoom_area == 1 && areas_on() == QList<int>{30});
        r.port.unanswered << "ARA007";  // refused (no reply): nothing but the clicked button is redrawn
        r.click(buttons::zoom_area_button(7));
        QVERIFY(r.st.zoom_area == 1 && areas_on() == QList<int>{30});

        r.port.unanswered.clear();
        r.port.set_box(nullptr);  // answered with another area: all nine show unselected
        r.port.arrive_in(5, "ARA003");
        r.click(buttons::zoom_area_button(9));
        QVERIFY(r.st.zoom_area == 3 && areas_on().isEmpty());
        r.port.arrive_in(5, "ARA010");  // no such area: nothing changes
        r.click(buttons::zoom_area_button(9));
        QCOMPARE(r.st.zoom_area, 3);
        r.port.set_box(&r.box);

        QCOMPARE(clicks(r, {-buttons::up, -buttons::right, buttons::centre, buttons::back}),
                 (QStringList{"MVU001", "MVU000", "MVR001", "MVR000", "ARA001", "ZOM000"}));
        QCOMPARE(r.st.current_page, pages::main);

        r.port.unanswered << "ARA999";  // the box does not say its area: none marked, the last one kept
        r.click(buttons::zoom);
        QVERIFY(r.st.zoom_area == 3 && areas_on().isEmpty());
        r.click(buttons::back);

        r.port.unanswered << "ZOM001";  // zoom without a reply stays on the main page, indicator off
        QCOMPARE(r.click(buttons::zoom) << r.indicator(), (QStringList{"ZOM001", "1_connect_off_0"}));
        QVERIFY(r.st.current_page == pages::main && r.ico(buttons::zoom)->isEnabled() && r.ico(buttons::power)->isEnabled());
    }

    void adjustment_pages_their_tabs_and_arrows()
    {
        StartedPanel r;
        r.click(buttons::size);
        QVERIFY(r.st.current_page == pages::size && !r.ico(buttons::size_tab)->isEnabled() && r.ico(buttons::position_tab)->isEnabled());
        QCOMPARE(r.shows({buttons::size_tab, buttons::position_tab}) << r.title(), (QStringList{"1_2size_2", "1_2move_0", "Size Picture", "SIZE PANEL"}));
        r.st.hover_button = 12;
        hover_leave(r.p());  // the background: both tab pictures stay
        QCOMPARE(clicks(r, {-buttons::up, buttons::centre}) << r.picture(buttons::size_tab),
                 (QStringList{"SZU001", "SZU000", "RST002", "1_2size_2"}));

        r.click(buttons::position_tab);
        QVERIFY(r.st.current_page == pages::position && !r.ico(buttons::position_tab)->isEnabled());
        QCOMPARE(r.pictures_of({buttons::position_tab, buttons::size_tab}) << r.title(), (QStringList{"1_2move_2", "1_2size_0", "POSITION PANEL"}));
        QCOMPARE(clicks(r, {-buttons::left, buttons::centre}), (QStringList{"MVL001", "MVL000", "RST001"}));
        r.st.hover_button = 23;  // after a click on a tab, hover leave draws it plain while it stays disabled
        hover_leave(r.p());
        QVERIFY(r.picture(buttons::position_tab) == "1_2move_0" && !r.ico(buttons::position_tab)->isEnabled());

        const int loads11 = r.ico(buttons::position)->picture_loads();
        r.click(buttons::back);
        QVERIFY(r.ico(buttons::position)->picture_loads() > loads11 && r.st.current_page == pages::main);

        r.st.scan_mode = 1;  // overscan names the pages pan and expand
        r.click(buttons::position);
        QCOMPARE(r.pictures_of({buttons::position_tab, buttons::size_tab}) << r.title(), (QStringList{"1_2pan_2", "1_2expand_0", "PAN PANEL"}));
        r.click(buttons::size_tab);
        QCOMPARE(r.title(), QString("EXPAND PANEL"));

        r.click(buttons::back);
        r.click(buttons::position);
        r.st.power_state = 0;  // with the box off, only the release; default acts on release only
        QCOMPARE(clicks(r, {-buttons::down, -buttons::centre}), (QStringList{"MVD000", "RST001"}));
        r.st.power_state = 1;
        int from = r.sent().size();  // a right-button release acts like a left one
        QTest::mouseClick(r.ico(buttons::up), Qt::RightButton);
        QCOMPARE(r.sent_since(from), (QStringList{"MVU001", "MVU000"}));

        bool released = false;  // a very short click: the release already waits when the press lets events run
        r.on_events = [&] {
            if (!std::exchange(released, true))
                r.click(buttons::up);
        };
        from = r.sent().size();
        button_pressed(r.p(), buttons::up);
        r.on_events = nullptr;
        QVERIFY(released && r.caption() == "Up");
        QCOMPARE(r.sent_since(from), (QStringList{"MVU001", "MVU000"}));
    }

    void sliders_send_each_new_level_once()
    {
        StartedPanel r;
        r.click(buttons::video);
        QScrollBar* brightness = r.el().hsr_video[1];
        QCOMPARE(brightness->value(), 128);  // read from the box
        int from = r.sent().size();
        brightness->setValue(130);
        brightness->setValue(130);
        qint64 t0 = r.clock.now;  // dragging: each value reported once, with a 0.05 s pause after each
        brightness->setSliderDown(true);
        for (int v : {131, 132, 133})
            brightness->setSliderPosition(v);
        brightness->setSliderDown(false);
        QVERIFY(r.clock.now - t0 >= 3 * 50);
        t0 = r.clock.now;  // the end of the drag and a scroll event find the value sent: no command, no pause
        brightness->setValue(133);
        hsr_video_Scroll(r.p(), 1);
        QCOMPARE(r.sent_since(from) << QString::number(r.clock.now - t0),
                 (QStringList{"BRI130", "BRI131", "BRI132", "BRI133", "0"}));

        r.st.port_open = false;  // with the port closed the mirror still takes the value
        r.el().hsr_video[0]->setValue(20);
        QCOMPARE(r.st.contrast_level, 20);

        r.st.port_open = true;  // video reset queries the levels again
        QCOMPARE(r.click(buttons::video_reset), (QStringList{"RST003", "CON999", "BRI999", "SAT999", "FLK999", "SHA999"}));
        r.port.unanswered << "RST003";  // no ready message: no queries, and the indicator says so
        QCOMPARE(r.click(buttons::video_reset) << r.indicator(), (QStringList{"RST003", "1_connect_off_0"}));
    }

    void option_lines_choose_and_take_effect()
    {
        StartedPanel r;
        QCOMPARE(r.click(buttons::options), (QStringList{"NPO999", "PAT999"}));
        auto& opt = r.el().lab_opt;
        const auto chosen = [&] {
            QList<int> out;
            for (int i = 0; i < 8; ++i)
                if (opt[i]->chosen())
                    out << i;
            return out;
        };
        QCOMPARE(chosen(), (QList<int>{0, 2, 5, 7}));  // the rig's settings say not on top

        // A click is a press and a release on the line; a lone release or one outside is none.
        QSignalSpy clicks(opt[2], &OptionLabel::clicked);
        QTest::mouseClick(opt[2], Qt::LeftButton);
        QTest::mouseRelease(opt[2], Qt::LeftButton);
        QTest::mousePress(opt[2], Qt::LeftButton);
        QTest::mouseRelease(opt[2], Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(clicks.count(), 1);

        const int from = r.sent().size();
        for (int line : {0, 1, 4})  // 0 is chosen already: nothing sent
            option_clicked(r.p(), line);
        QCOMPARE(chosen(), (QList<int>{1, 2, 4, 7}));
        const qint64 t0 = r.clock.now;
        option_clicked(r.p(), 5);
        QVERIFY(r.clock.now - t0 >= 400);  // waited for the ready message
        QCOMPARE(r.sent_since(from), (QStringList{"NPO001", "PAT001", "PAT000"}));
        QVERIFY(r.caption() == "Option" && r.st.test_pattern == 0 && r.st.tv_system == 1);

        const QPoint at = r.frm().pos();  // on top, at once, without moving the window
        option_clicked(r.p(), 6);
        QVERIFY(r.st.win_on_top && (r.frm().windowFlags() & Qt::WindowStaysOnTopHint) && r.frm().pos() == at);
        option_clicked(r.p(), 7);
        QVERIFY(!(r.frm().windowFlags() & Qt::WindowStaysOnTopHint));

        const QRegion outline = r.frm().mask();  // the skin: pictures, text colour, main page; the outline stays
        option_clicked(r.p(), 3);
        QCOMPARE(r.pictures_of({buttons::power}) << r.indicator() << r.st.panel_skin,
                 (QStringList{"2_power_on_0", "2_connect_on_0", "2"}));
        QCOMPARE(r.el().lab_text[0]->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(r.st.current_page == pages::main && r.frm().mask() == outline && r.messages.isEmpty());
        r.box.receive("PAT001", 0);  // the page shows what the box and the settings say now
        r.click(buttons::options);
        QCOMPARE(chosen(), (QList<int>{1, 3, 4, 7}));
        // On the Flower skin a light (near-white) halo sets the chosen value (red) off the picture.
        const auto looks = [&] {
            const QImage face = r.frm().grab(opt[1]->geometry()).toImage();
            QList<bool> seen{false, false};
            for (int y = 0; y < face.height(); ++y)
                for (int x = 0; x < face.width(); ++x) {
                    seen[0] = seen[0] || qGray(face.pixel(x, y)) > 200;
                    seen[1] = seen[1] || (qRed(face.pixel(x, y)) > 150 && qGreen(face.pixel(x, y)) < 80);
                }
            return seen;
        };
        QCOMPARE(looks(), (QList<bool>{true, true}));
        opt[1]->set_halo(false);
        QCOMPARE(looks(), (QList<bool>{false, true}));
    }

    void about_page_shows_both_versions()
    {
        StartedPanel r;
        QCOMPARE(r.click(buttons::about), QStringList{"VER999"});
        const auto texts = [&] { return QStringList{r.el().lab_text[0]->text(), r.el().lab_text[1]->text()}; };
        QCOMPARE(texts() << r.caption(), (QStringList{"Software Version: 05", "Firmware Version:  105", "About"}));
        r.port.unanswered << "VER999";
        r.click(buttons::back);
        r.click(buttons::about);
        QCOMPARE(texts(), (QStringList{"Software Version: 05", "Firmware Version:  0"}));
    }

    void the_magnifier_opens_and_gives_the_panel_back()
    {
        PanelRig r;
        r.env.open_magnifier = nullptr;  // the real one
        r.start();
        r.frm().show();
        r.click(buttons::magnifier);
        FrmMag* mag = r.frm().magnifier();
        QVERIFY(r.frm().isHidden() && r.st.current_page == pages::magnifier && mag && mag->isVisible());
        mag->img_ico_Click(5);
        QVERIFY(r.frm().isVisible() && r.st.current_page == pages::magnifier);  // closing does not change the page
        QTRY_VERIFY(!r.frm().magnifier());
    }

    void dragging_follows_the_cursor()
    {
        StartedPanel r;
        r.frm().move(100, 100);
        r.desktop.cursor = QPoint(300, 300);
        const auto move_to = [&](QPoint at) {
            r.desktop.cursor = at;
            QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), at, Qt::NoButton, Qt::RightButton, Qt::NoModifier);
            QCoreApplication::sendEvent(r.el().pic_win, &move);
        };
        QTest::mousePress(r.el().pic_win, Qt::RightButton, {}, QPoint(5, 5));
        move_to(QPoint(310, 305));
        QCOMPARE(r.frm().pos(), QPoint(110, 105));
        QTest::mouseRelease(r.el().pic_win, Qt::RightButton, {}, QPoint(5, 5));
        move_to(QPoint(330, 330));
        QVERIFY(!r.frm().dragging() && r.frm().pos() == QPoint(110, 105));
    }

    void tray_minimise_and_close()
    {
        StartedPanel r;
        PanelRig no_tray;
        r.frm().show();
        r.click(buttons::tray);
        QSystemTrayIcon* icon = r.frm().tray_icon();
        QVERIFY(r.frm().isHidden() && icon);
        r.frm().show();
        r.click(buttons::tray);  // a second time: still one icon
        QCOMPARE(r.frm().tray_icon(), icon);
        r.click(buttons::minimise);
        QVERIFY(r.frm().windowState() & Qt::WindowMinimized);
        r.frm().hide();  // a click on the icon, left or right, brings it back and hides it again
        emit icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(!r.frm().isHidden() && !(r.frm().windowState() & Qt::WindowMinimized));
        emit icon->activated(QSystemTrayIcon::Context);
        QVERIFY(r.frm().isHidden());
        r.frm().show();
        const int loads = r.ico(buttons::close)->picture_loads();
        r.click(buttons::close);
        QVERIFY(!r.frm().isVisible() && !r.st.port_open && !r.frm().tray_icon());  // the icon goes too
        QCOMPARE(r.ico(buttons::close)->picture_loads(), loads);  // no completion step after close

        no_tray.desktop.tray = false;
        no_tray.start();
        no_tray.frm().show();
        no_tray.click(buttons::tray);
        QVERIFY(!no_tray.frm().tray_icon() && (no_tray.frm().windowState() & Qt::WindowMinimized));
    }
};

QV_REGISTER_TEST(TestActions)
#include "tst_actions.moc"
