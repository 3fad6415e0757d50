// The panel from the keyboard and to assistive technology, on the real window built on fakes.

#include "widgets/option_label.h"
#include "widgets/video_slider.h"
#include "panel_rig.h"
#include "test_registry.h"

#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>
#include <QStyle>

namespace {

// The rig on the page button `page` opens (99: the main page), active.
void open_page(PanelRig& r, int page)
{
    r.start();
    if (page != 99)
        r.click(page);
    r.frm().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&r.frm()));
}

QAccessibleInterface* acc(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
QString name(QWidget* w) { return w ? acc(w)->text(QAccessible::Name) : QString("(nothing)"); }
QWidget* focus() { return QApplication::focusWidget(); }
void keys(std::initializer_list<Qt::Key> ks)
{
    for (Qt::Key k : ks)
        QTest::keyClick(focus(), k);
}

// A key as the window system delivers it, auto-repeated or not, at the server's time `at` (0: none).
void send_key(QWidget* w, QEvent::Type type, Qt::Key k, bool repeat = false, quint64 at = 0)
{
    QKeyEvent event(type, k, Qt::NoModifier, QString(), repeat);
    event.setTimestamp(at);
    QApplication::sendEvent(w, &event);
}

void do_action(QWidget* w, const QString& action)
{
    acc(w)->actionInterface()->doAction(action);
    QCoreApplication::processEvents();
}

void tab_to(const QString& wanted)
{
    for (int i = 0; i < 40 && name(focus()) != wanted; ++i)
        keys({Qt::Key_Tab});
    QCOMPARE(name(focus()), wanted);
}

// The controls a user sees and operates on the page on show.
QList<QWidget*> visible_controls(PanelRig& r)
{
    QList<QWidget*> out;
    for (QWidget* w : r.frm().findChildren<QWidget*>()) {
        const auto* b = qobject_cast<PictureButton*>(w);
        if (w->isVisible() && ((b && b->index() >= 0) || qobject_cast<OptionLabel*>(w) || qobject_cast<VideoSlider*>(w)))
            out << w;
    }
    return out;
}

const QStringList kWindowColumn = {"COM1", "COM2", "Close", "Minimize", "Send to tray"};
const QStringList kPad = {"Up", "Left", "Default", "Right", "Down"};
const QStringList kBack = QStringList{"Back to main panel"} + kWindowColumn;

}  // namespace

class TestKeyboardAccess : public QObject {
    Q_OBJECT
private slots:
    // Focus marks are painted over the skin: the painter must come back as it was lent.
    void init() { QTest::failOnWarning(QRegularExpression("QPainter")); }

    void every_page_in_reading_order_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("order");
        QStringList areas;
        for (int i = 1; i <= 9; ++i)
            areas << QString("Zoom area %1").arg(i);
        QTest::newRow("main") << 99
                              << QStringList{"Power", "System reset", "Zoom", "Magnifier", "Overscan", "Options",
                                             "Aspect ratio", "Move picture", "Size picture", "YPbPr output",
                                             "Freeze", "Video settings"} + kWindowColumn + QStringList{"About"};
        QTest::newRow("about") << 3 << kBack;
        QTest::newRow("zoom") << 7 << kPad + areas + kBack;
        QTest::newRow("options") << 10 << QStringList{"TV System: NTSC", "TV System: PAL", "Panel Skin: Wood",
                                                      "Panel Skin: Flower", "Test Pattern: On", "Test Pattern: Off",
                                                      "Win on Top: On", "Win on Top: Off"} + kBack;
        // The selected tab is disabled: Tab passes it by.
        QTest::newRow("position") << 11 << kPad + QStringList{"Size picture"} + kBack;
        QTest::newRow("size") << 12 << kPad + QStringList{"Move picture"} + kBack;
        QTest::newRow("video") << 15 << QStringList{"Contrast", "Brightness", "Color", "Sharpness",
                                                    "Reset video settings"} + kBack;
    }
    // Every control is named, focusable and has an action, and Tab reaches each in reading order; each action does
    // what a click does on a panel alike (the window column, the same on every page, on the main page only).
    void every_page_in_reading_order()
    {
        QFETCH(int, page);
        QFETCH(QStringList, order);
        PanelRig r;
        open_page(r, page);
        const QList<QWidget*> controls = visible_controls(r);
        const QList<QAccessible::Role> roles = {QAccessible::Button, QAccessible::RadioButton, QAccessible::Slider};
        QStringList names;
        QList<int> actions;
        for (QWidget* w : controls) {
            QAccessibleInterface* a = acc(w);
            const QString n = a->text(QAccessible::Name);
            QVERIFY2(!n.isEmpty() && !names.contains(n) && a->state().focusable
                         && !a->actionInterface()->actionNames().isEmpty() && roles.contains(a->role()), qPrintable(n));
            if (w->isEnabled() && !qobject_cast<VideoSlider*>(w) && (page == 99 || !kWindowColumn.contains(n)))
                actions << names.size();
            names << n;
        }

        // No control has the focus until Tab gives it; Tab goes round the page, Shift+Tab to its last control.
        QCOMPARE(focus(), &r.frm());
        QStringList round;
        for (keys({Qt::Key_Tab}); round.size() < 40 && !round.contains(name(focus())); keys({Qt::Key_Tab}))
            round << name(focus());
        QCOMPARE(round, order);
        r.frm().setFocus();
        keys({Qt::Key_Backtab});
        QCOMPARE(name(focus()), order.last());

        for (const int i : actions) {
            PanelRig clicked, acted;
            open_page(clicked, page);
            open_page(acted, page);
            const int from = clicked.sent().size();
            const auto outcome = [from](PanelRig& rig) {
                return rig.sent_since(from) << QString::number(rig.st.current_page) << rig.caption()
                                            << QString::number(rig.magnifier_opens)
                                            << QString::number(rig.frm().isVisible());
            };
            QTest::mouseClick(visible_controls(clicked).at(i), Qt::LeftButton, {}, QPoint(3, 3));
            do_action(visible_controls(acted).at(i), QAccessibleActionInterface::pressAction());
            QCOMPARE(outcome(acted), outcome(clicked));
        }
    }

    // An arrow held with Space or Enter: "001" as the key goes down, "000" as it comes up, whatever repeats between.
    void keys_hold_an_arrow()
    {
        PanelRig r;
        open_page(r, buttons::position);
        tab_to("Up");
        QWidget* up = focus();
        int from = r.sent().size();
        send_key(up, QEvent::KeyPress, Qt::Key_Space);
        for (int i = 0; i < 3; ++i) {
            send_key(up, QEvent::KeyRelease, Qt::Key_Space, true);
            send_key(up, QEvent::KeyPress, Qt::Key_Space, true);
        }
        QCOMPARE(r.sent_since(from), QStringList{"MVU001"});
        send_key(up, QEvent::KeyRelease, Qt::Key_Space);
        QCOMPARE(r.sent_since(from), (QStringList{"MVU001", "MVU000"}));

        // A quick tap: the release comes while "001" is being sent.
        keys({Qt::Key_Tab});
        QWidget* left = focus();
        from = r.sent().size();
        r.on_events = [&] {
            r.on_events = nullptr;
            send_key(left, QEvent::KeyRelease, Qt::Key_Return);
        };
        send_key(left, QEvent::KeyPress, Qt::Key_Return);
        // Held while the focus goes on: it stops all the same.
        send_key(left, QEvent::KeyPress, Qt::Key_Space);
        keys({Qt::Key_Tab});
        QCOMPARE(r.sent_since(from), (QStringList{"MVL001", "MVL000", "MVL001", "MVL000"}));

        // On X11 a panel busy with the box gets the server's repeats as real release and press pairs, each pair at
        // one moment: one hold all the same, which ends once no press follows its release.
        auto* down = static_cast<PictureButton*>(r.ico(buttons::down));
        down->key_hold().set_repeat_grace_ms(30);
        from = r.sent().size();
        send_key(down, QEvent::KeyPress, Qt::Key_Space, false, 1000);
        for (quint64 t = 1660; t < 3000; t += 40) {
            send_key(down, QEvent::KeyRelease, Qt::Key_Space, false, t);
            send_key(down, QEvent::KeyPress, Qt::Key_Space, false, t);
        }
        send_key(down, QEvent::KeyRelease, Qt::Key_Space, false, 3000);
        QCOMPARE(r.sent_since(from), QStringList{"MVD001"});
        QTRY_COMPARE(r.sent_since(from), (QStringList{"MVD001", "MVD000"}));
        // A tap ends at once, before any repeat could; so does a hold whose key goes down again at a moment of its own.
        from = r.sent().size();
        send_key(down, QEvent::KeyPress, Qt::Key_Space, false, 4000);
        send_key(down, QEvent::KeyRelease, Qt::Key_Space, false, 4007);
        send_key(down, QEvent::KeyPress, Qt::Key_Space, false, 4100);
        send_key(down, QEvent::KeyRelease, Qt::Key_Space, false, 4300);
        send_key(down, QEvent::KeyPress, Qt::Key_Space, false, 4310);
        QCOMPARE(r.sent_since(from), (QStringList{"MVD001", "MVD000", "MVD001", "MVD000", "MVD001"}));
        send_key(down, QEvent::KeyRelease, Qt::Key_Space, false, 4320);
    }

    void keyboard_session()
    {
        PanelRig r;
        open_page(r, pages::main);
        // A click leaves the focus where it was: the mouse sees no change.
        QTest::mouseClick(r.ico(buttons::freeze), Qt::LeftButton);
        QCOMPARE(focus(), &r.frm());
        // Nor does the window coming back active with no control in mind (the desktop activates it after the
        // magnifier): the toolkit would put the focus, and its mark, on the first control.
        r.frm().clearFocus();
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(&r.frm());
        QCOMPARE(focus(), &r.frm());
        do_action(r.ico(buttons::freeze), QAccessibleActionInterface::pressAction());  // assistive: it takes the focus
        QCOMPARE(name(focus()), QString("Freeze"));

        // Tab onto a button hovers it (caption, highlight); the focus mark shows over the plain picture too.
        const QImage plain = r.ico(buttons::aspect)->grab().toImage();
        tab_to("Aspect ratio");
        QCOMPARE(QStringList({r.caption(), r.picture(buttons::aspect)}), QStringList({"Aspect-Full", "1_aspect_full_1"}));
        r.ico(buttons::aspect)->setPixmap(r.pictures.pixmap("1_aspect_full_0"));
        QVERIFY(r.ico(buttons::aspect)->grab().toImage() != plain);

        // Power keeps the focus through the exchange that locks it.
        tab_to("Power");
        int from = r.sent().size();
        keys({Qt::Key_Space, Qt::Key_Space});
        QCOMPARE(r.sent_since(from).mid(0, 2), (QStringList{"PWR000", "PWR001"}));
        QCOMPARE(QStringList({name(focus()), r.caption()}), QStringList({"Power", "Power On"}));
        r.port.arrive_in(300, "RDY000");  // and through the lock of the box's own power message
        r.box_says("PWR001");
        QCOMPARE(name(focus()), QString("Power"));
        // The control the keys chose comes back with the window.
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(&r.frm());
        QCOMPARE(name(focus()), QString("Power"));

        // A page takes the focus to its first control.
        tab_to("Video settings");
        keys({Qt::Key_Return});
        QCOMPARE(QStringList({name(focus()), r.caption()}), QStringList({"Contrast", "Video Settings Reset"}));
        // Increase and Right move the thumb right, also on the slider whose value runs the other way.
        const QStringList cmd = {"CON", "BRI", "SAT", "FLK"};
        for (int i = 0; i < 4; ++i) {
            auto* s = static_cast<VideoSlider*>(r.el().hsr_video[i]);
            QAccessibleValueInterface* value = acc(s)->valueInterface();
            const int start = value->currentValue().toInt(), step = QList<int>{1, 2, 1, 1}[i];
            const auto level = [&](int at) { return cmd[i] + QString("%1").arg(i == 3 ? 21 - at : at, 3, 10, QChar('0')); };
            // Where the toolkit draws the thumb on a track 100 pixels long.
            const auto drawn_at = [s] {
                return QStyle::sliderPositionFromValue(s->minimum(), s->maximum(), s->value(), 100, s->invertedAppearance());
            };
            const int thumb = drawn_at();
            from = r.sent().size();
            do_action(s, QAccessibleActionInterface::increaseAction());
            QVERIFY(drawn_at() > thumb);
            s->setFocus(Qt::TabFocusReason);
            keys({Qt::Key_Right, Qt::Key_Left});
            do_action(s, QAccessibleActionInterface::decreaseAction());
            keys({Qt::Key_End, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_PageUp});
            const int end = QList<int>{63, 255, 63, 21}[i], home = value->minimumValue().toInt(), page = QList<int>{10, 40, 10, 3}[i];
            QCOMPARE(r.sent_since(from), (QStringList{level(start + step), level(start + 2 * step), level(start + step),
                                                      level(start), level(end), level(end - page), level(home),
                                                      level(home + page)}));
        }
        // Escape returns the focus to the button that opened the page.
        keys({Qt::Key_Escape});
        QVERIFY(r.st.current_page == pages::main && name(focus()) == "Video settings");
        from = r.sent().size();
        keys({Qt::Key_Escape});  // the main page has no return
        tab_to("Zoom");
        keys({Qt::Key_Space});
        QCOMPARE(name(focus()), QString("Up"));
        QStringList marked;  // the area the box answered is the one heard as chosen
        for (int i = 30; i <= 38; ++i)
            if (acc(r.ico(i))->state().checked)
                marked << name(r.ico(i));
        QCOMPARE(marked, QStringList{"Zoom area 1"});
        keys({Qt::Key_Escape});
        QCOMPARE(r.sent_since(from) << name(focus()), (QStringList{"ZOM001", "ARA999", "ZOM000", "Zoom"}));

        // Option values are radio buttons; the arrows move along the line and choose nothing, Space chooses.
        tab_to("Options");
        keys({Qt::Key_Space});
        tab_to("TV System: PAL");
        QWidget* pal = focus();
        tab_to("TV System: NTSC");
        QWidget* ntsc = focus();
        QVERIFY(acc(ntsc)->state().checked && !acc(pal)->state().checked);
        from = r.sent().size();
        QList<QWidget*> path;  // each arrow moves along the line and stops at its end
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Right, Qt::Key_Right,
                          Qt::Key_Left, Qt::Key_Left, Qt::Key_Right}) {
            keys({k});
            path << focus();
        }
        QCOMPARE(path, (QList<QWidget*>{pal, pal, ntsc, ntsc, pal, pal, ntsc, ntsc, pal}));
        keys({Qt::Key_Space});
        QCOMPARE(r.sent_since(from), QStringList{"NPO001"});
        QVERIFY(acc(pal)->state().checked && !acc(ntsc)->state().checked && focus() == pal);

        // A skin chosen from the keyboard brings the main page back, the focus on the options button.
        tab_to("Panel Skin: Flower");
        keys({Qt::Key_Space});
        QVERIFY(r.st.panel_skin == "2" && name(r.frm().focusWidget()) == "Options");
        // A screen reader hears which port is open, as the pictures show it.
        const auto ports_checked = [&r] { return QList<bool>{bool(acc(r.ico(buttons::com1))->state().checked), bool(acc(r.ico(buttons::com2))->state().checked)}; };
        QCOMPARE(ports_checked(), (QList<bool>{true, false}));
        QTest::mouseClick(r.ico(buttons::com2), Qt::LeftButton);
        QCOMPARE(ports_checked(), (QList<bool>{false, true}));
        // The offscreen platform does not activate a window shown again.
        QApplication::setActiveWindow(&r.frm());
        tab_to("Close");
        keys({Qt::Key_Enter});
        QVERIFY(r.frm().has_finished());
    }
};

QV_REGISTER_TEST(TestKeyboardAccess)
#include "tst_keyboard_access.moc"
