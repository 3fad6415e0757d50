// The panel from the keyboard and to assistive technology, on the real
// window built on fakes.

#include "panel/option_label.h"
#include "panel/press_dispatch.h"
#include "panel/video_slider.h"
#include "panel_rig.h"
#include "test_registry.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QSet>
#include <QStyle>
#include <QTest>

namespace {

// The rig on the page that button `page` opens (99: the main page), with
// the window active so the keyboard reaches it.
void open_page(PanelRig& r, int page)
{
    r.start();
    if (page != 99)
        button_released(r.p(), page);
    r.frm().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&r.frm()));
}

QAccessibleInterface* acc(QWidget* w)
{
    return QAccessible::queryAccessibleInterface(w);
}

QString name(QWidget* w)
{
    return w ? acc(w)->text(QAccessible::Name) : QStringLiteral("(nothing)");
}

QWidget* focus()
{
    return QApplication::focusWidget();
}

void key(Qt::Key k, Qt::KeyboardModifiers mods = {})
{
    QTest::keyClick(focus(), k, mods);
}

// The controls a user can see and operate on the page on show.
QList<QWidget*> visible_controls(PanelRig& r)
{
    QList<QWidget*> out;
    for (QWidget* w : r.frm().findChildren<QWidget*>()) {
        const auto* b = qobject_cast<PictureButton*>(w);
        const bool control = (b && b->index() >= 0) || qobject_cast<OptionLabel*>(w) || qobject_cast<VideoSlider*>(w);
        if (control && w->isVisible())
            out << w;
    }
    return out;
}

QWidget* control_named(PanelRig& r, const QString& wanted)
{
    for (QWidget* w : visible_controls(r))
        if (name(w) == wanted)
            return w;
    return nullptr;
}

// Tab from the window round the page once.
QStringList tab_round(PanelRig& r)
{
    r.frm().setFocus();
    key(Qt::Key_Tab);
    QWidget* first = focus();
    QStringList names;
    do {
        names << name(focus());
        key(Qt::Key_Tab);
    } while (focus() != first && names.size() < 50);
    return names;
}

// What the page's action or click sent, where it left the panel.
struct Outcome {
    QStringList sent;
    int page;
    QString caption;
    bool operator==(const Outcome& o) const { return sent == o.sent && page == o.page && caption == o.caption; }
};

Outcome outcome(PanelRig& r, int from)
{
    return {r.sent_since(from), r.st.current_page, r.caption()};
}

void click(QWidget* w, QPoint at = QPoint(3, 3))
{
    QTest::mousePress(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

void do_action(QWidget* w, const QString& action)
{
    acc(w)->actionInterface()->doAction(action);
    QCoreApplication::processEvents();
}

// A key event as the window system delivers it, auto-repeated or not.
void send_key(QWidget* w, QEvent::Type type, Qt::Key k, bool repeat = false)
{
    QKeyEvent event(type, k, Qt::NoModifier, QString(), repeat);
    QApplication::sendEvent(w, &event);
}

void tab_to(const QString& wanted)
{
    for (int i = 0; i < 40 && name(focus()) != wanted; ++i)
        key(Qt::Key_Tab);
    QCOMPARE(name(focus()), wanted);
}

const QStringList kWindowColumn = {"COM1", "COM2", "Close", "Minimize", "Send to tray"};
const QStringList kPad = {"Up", "Left", "Default", "Right", "Down"};

}  // namespace

class TestKeyboardAccess : public QObject {
    Q_OBJECT
private slots:
    void every_page_in_reading_order_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("order");
        QStringList zoom = kPad;
        for (int i = 1; i <= 9; ++i)
            zoom << QStringLiteral("Zoom area %1").arg(i);
        QTest::newRow("main") << 99
                              << QStringList{"Power", "System reset", "Zoom", "Magnifier", "Overscan", "Options",
                                             "Aspect ratio", "Move picture", "Size picture", "YPbPr output",
                                             "Freeze", "Video settings"}
                                     + kWindowColumn + QStringList{"About"};
        QTest::newRow("about") << 3 << QStringList{"Back to main panel"} + kWindowColumn;
        QTest::newRow("zoom") << 7 << zoom + QStringList{"Back to main panel"} + kWindowColumn;
        QTest::newRow("options") << 10
                                 << QStringList{"TV System: NTSC", "TV System: PAL", "Panel Skin: Wood",
                                                "Panel Skin: Flower", "Test Pattern: On", "Test Pattern: Off",
                                                "Win on Top: On", "Win on Top: Off", "Back to main panel"}
                                        + kWindowColumn;
        // The selected tab is disabled: Tab passes it by.
        QTest::newRow("position") << 11 << kPad + QStringList{"Size picture", "Back to main panel"} + kWindowColumn;
        QTest::newRow("size") << 12 << kPad + QStringList{"Move picture", "Back to main panel"} + kWindowColumn;
        QTest::newRow("video") << 15
                               << QStringList{"Contrast", "Brightness", "Color", "Sharpness", "Reset video settings",
                                              "Back to main panel"}
                                      + kWindowColumn;
    }
    void every_page_in_reading_order()
    {
        QFETCH(int, page);
        QFETCH(QStringList, order);
        PanelRig r;
        open_page(r, page);

        QSet<QString> names;
        for (QWidget* w : visible_controls(r)) {
            QAccessibleInterface* a = acc(w);
            const QString n = a->text(QAccessible::Name);
            QVERIFY2(!n.isEmpty(), qPrintable(w->objectName()));
            QVERIFY2(!names.contains(n), qPrintable(n));
            names << n;
            QVERIFY2(a->state().focusable, qPrintable(n));
            QVERIFY2(a->actionInterface() && !a->actionInterface()->actionNames().isEmpty(), qPrintable(n));
            const QAccessible::Role role = a->role();
            QVERIFY2(role == QAccessible::Button || role == QAccessible::RadioButton || role == QAccessible::Slider,
                     qPrintable(n));
        }

        // No control holds the focus until Tab gives it one.
        QCOMPARE(focus(), &r.frm());
        QCOMPARE(tab_round(r), order);
        r.frm().setFocus();
        key(Qt::Key_Backtab);
        QCOMPARE(name(focus()), order.last());
        key(Qt::Key_Tab);
        QCOMPARE(name(focus()), order.first());
    }

    // Every visible control's action, against a click on the same control
    // of a panel in the same state.
    void actions_do_what_a_click_does_data()
    {
        QTest::addColumn<int>("page");
        for (int page : {99, 3, 7, 10, 11, 12, 15})
            QTest::addRow("page %d", page) << page;
    }
    void actions_do_what_a_click_does()
    {
        QFETCH(int, page);
        QStringList controls;
        {
            PanelRig r;
            open_page(r, page);
            // The window column is the same on every page: tried on the main page.
            for (QWidget* w : visible_controls(r))
                if (w->isEnabled() && !qobject_cast<VideoSlider*>(w) && (page == 99 || !kWindowColumn.contains(name(w))))
                    controls << name(w);
        }
        for (const QString& control : controls) {
            PanelRig clicked;
            open_page(clicked, page);
            const int from_click = clicked.sent().size();
            click(control_named(clicked, control));
            const Outcome by_click = outcome(clicked, from_click);

            PanelRig acted;
            open_page(acted, page);
            const int from_action = acted.sent().size();
            do_action(control_named(acted, control), QAccessibleActionInterface::pressAction());
            QVERIFY2(outcome(acted, from_action) == by_click, qPrintable(control));
            QCOMPARE(acted.frm().isVisible(), clicked.frm().isVisible());
            QCOMPARE(acted.magnifier_opens, clicked.magnifier_opens);
        }
    }

    // An arrow held down with Space or Enter: "001" when the key goes down,
    // "000" when it comes up, whatever the key's auto-repeat sends between.
    void keys_hold_an_arrow()
    {
        PanelRig r;
        open_page(r, 11);
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
        key(Qt::Key_Tab);
        QWidget* left = focus();
        from = r.sent().size();
        r.on_events = [&] {
            r.on_events = nullptr;
            send_key(left, QEvent::KeyRelease, Qt::Key_Return);
        };
        send_key(left, QEvent::KeyPress, Qt::Key_Return);
        QCOMPARE(r.sent_since(from), (QStringList{"MVL001", "MVL000"}));

        // Held while the focus goes elsewhere: let go there, it still stops.
        from = r.sent().size();
        send_key(left, QEvent::KeyPress, Qt::Key_Space);
        key(Qt::Key_Tab);
        QCOMPARE(r.sent_since(from), (QStringList{"MVL001", "MVL000"}));
        QCOMPARE(name(focus()), QString("Default"));
    }

    void keyboard_session()
    {
        PanelRig r;
        open_page(r, 99);
        // The menu key and context-menu requests are left to whoever
        // filters them (the COM buttons' device menu).
        QKeyEvent menu(QEvent::KeyPress, Qt::Key_Menu, Qt::NoModifier);
        QApplication::sendEvent(r.ico(28), &menu);
        QVERIFY(!menu.isAccepted());
        QContextMenuEvent context(QContextMenuEvent::Keyboard, QPoint(2, 2));
        QApplication::sendEvent(r.ico(28), &context);
        QVERIFY(!context.isAccepted());

        // A click leaves the focus where it was: the mouse sees no change.
        click(r.ico(14));
        QCOMPARE(focus(), &r.frm());

        // Reaching a button is hovering it: caption and highlight, and the
        // focus mark on top.
        const QImage plain = r.ico(27)->grab().toImage();
        tab_to("Aspect ratio");
        QCOMPARE(r.caption(), QString("Aspect-Full"));
        QCOMPARE(r.picture(27), QString("1_aspect_full_1"));
        r.ico(27)->setPixmap(r.pictures.pixmap("1_aspect_full_0"));
        QVERIFY(r.ico(27)->grab().toImage() != plain);

        // Space on power: the focus stays through the exchange, which
        // locks the button for its length.
        key(Qt::Key_Backtab);
        tab_to("Power");
        int from = r.sent().size();
        key(Qt::Key_Space);
        QCOMPARE(r.sent_since(from), QStringList{"PWR000"});
        from = r.sent().size();
        key(Qt::Key_Space);
        QCOMPARE(r.sent_since(from).first(), QString("PWR001"));
        QCOMPARE(name(focus()), QString("Power"));
        QCOMPARE(r.caption(), QString("Power On"));

        // A page: the focus goes to its first control, Escape comes back
        // to the button that opened it.
        tab_to("Video settings");
        key(Qt::Key_Return);
        QCOMPARE(r.st.current_page, 15);
        QCOMPARE(name(focus()), QString("Contrast"));
        QCOMPARE(r.caption(), QString("Video Settings Reset"));
        from = r.sent().size();
        key(Qt::Key_Escape);
        QCOMPARE(r.st.current_page, 99);
        QCOMPARE(name(focus()), QString("Video settings"));
        key(Qt::Key_Escape);  // the main page has no return
        QCOMPARE(r.sent_since(from), QStringList{});

        // A skin chosen from the keyboard: the main page comes back with the
        // focus on the button that opened the options.
        tab_to("Options");
        key(Qt::Key_Space);
        tab_to("Panel Skin: Flower");
        key(Qt::Key_Space);
        QCOMPARE(r.st.panel_skin, QString("2"));
        QCOMPARE(r.st.current_page, 99);
        QCOMPARE(name(r.frm().focusWidget()), QString("Options"));
        // The offscreen platform keeps a window it hid as its focus window,
        // so showing it again does not activate it: do what a desktop does.
        QApplication::setActiveWindow(&r.frm());
        QCOMPARE(name(focus()), QString("Options"));

        tab_to("Zoom");
        key(Qt::Key_Space);
        QCOMPARE(r.st.current_page, 7);
        QCOMPARE(name(focus()), QString("Up"));
        from = r.sent().size();
        key(Qt::Key_Escape);
        QCOMPARE(r.sent_since(from), QStringList{"ZOM000"});
        QCOMPARE(name(focus()), QString("Zoom"));

    }

    // The window's own buttons: minimise, tray and close from the keyboard.
    void window_buttons()
    {
        for (const char* button : {"Minimize", "Send to tray", "Close"}) {
            PanelRig r;
            open_page(r, 99);
            tab_to(button);
            key(Qt::Key_Space);
            QCOMPARE(r.frm().isMinimized(), button == QLatin1String("Minimize"));
            QCOMPARE(r.frm().isVisible(), button == QLatin1String("Minimize"));
            QCOMPARE(r.frm().has_finished(), button == QLatin1String("Close"));
        }
    }

    // Option values: radio buttons whose line the arrows move along.
    void option_values()
    {
        PanelRig r;
        open_page(r, 10);
        QWidget* ntsc = control_named(r, "TV System: NTSC");
        QWidget* pal = control_named(r, "TV System: PAL");
        QVERIFY(acc(ntsc)->state().checked);
        QVERIFY(!acc(pal)->state().checked);
        tab_to("TV System: NTSC");
        const int from = r.sent().size();
        for (Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
            key(k);
        QCOMPARE(focus(), pal);  // the end of its line
        key(Qt::Key_Left);
        QCOMPARE(focus(), ntsc);
        key(Qt::Key_Up);
        QCOMPARE(focus(), ntsc);
        QCOMPARE(r.sent_since(from), QStringList{});  // moving chooses nothing
        key(Qt::Key_Right);
        key(Qt::Key_Space);
        QCOMPARE(r.sent_since(from), QStringList{"NPO001"});
        QVERIFY(acc(pal)->state().checked);
        QVERIFY(!acc(ntsc)->state().checked);
        QCOMPARE(focus(), pal);
    }

    // Increase, Right and the right end arrow all move the thumb to the
    // right, on the slider whose value runs the other way too.
    void sliders()
    {
        PanelRig r;
        open_page(r, 15);
        const QStringList cmd = {"CON", "BRI", "SAT", "FLK"};
        for (int i = 0; i < 4; ++i) {
            auto* s = static_cast<VideoSlider*>(r.el().hsr_video[i]);
            QCOMPARE(acc(s)->role(), QAccessible::Slider);
            QAccessibleValueInterface* value = acc(s)->valueInterface();
            QVERIFY(value);
            const int start = value->currentValue().toInt();
            const int step = s->singleStep();
            const auto level = [&](int position) {
                return QString("%1%2").arg(cmd[i]).arg(i == 3 ? 21 - position : position, 3, 10, QChar('0'));
            };
            // Where the toolkit draws the thumb, in a track 100 pixels long.
            const auto drawn_at = [s] {
                return QStyle::sliderPositionFromValue(s->minimum(), s->maximum(), s->value(), 100,
                                                       s->invertedAppearance());
            };
            const int thumb = drawn_at();

            int from = r.sent().size();
            do_action(s, QAccessibleActionInterface::increaseAction());
            QCOMPARE(value->currentValue().toInt(), start + step);
            s->setFocus(Qt::TabFocusReason);
            key(Qt::Key_Right);
            key(Qt::Key_Left);
            do_action(s, QAccessibleActionInterface::decreaseAction());
            QCOMPARE(r.sent_since(from), (QStringList{level(start + step), level(start + 2 * step),
                                                      level(start + step), level(start)}));
            key(Qt::Key_End);
            QCOMPARE(r.sent().last(), level(value->maximumValue().toInt()));
            QVERIFY(drawn_at() > thumb);
            key(Qt::Key_Home);
            QCOMPARE(r.sent().last(), level(0));
        }
    }
};

QV_REGISTER_TEST(TestKeyboardAccess)
#include "tst_keyboard_access.moc"
