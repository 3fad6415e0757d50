// The magnifier from the keyboard and to assistive technology.

#include "core/shared_state.h"
#include "fake_desktop.h"
#include "magnifier/frm_mag.h"
#include "magnifier/half_picture.h"
#include "magnifier/strip_button.h"
#include "platform/picture_store.h"
#include "screen_pattern.h"
#include "test_registry.h"

#include <QAccessible>
#include <QApplication>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Mag {
    Mag()
    {
        desktop.screen_image = screen_pattern(1024, 768);
        desktop.cursor = QPoint(500, 400);
        mag.open();
        mag.activateWindow();
        active = QTest::qWaitForWindowActive(&mag);
    }
    SharedState state;
    FakeDesktop desktop;
    PictureStore pictures;
    FrmMag mag{state, desktop, pictures};
    bool active = false;
};

QAccessibleInterface* acc(QWidget* w)
{
    return QAccessible::queryAccessibleInterface(w);
}

void key(Qt::Key k)
{
    QTest::keyClick(QApplication::focusWidget(), k);
}

}  // namespace

class TestMagKeyboard : public QObject {
    Q_OBJECT
private slots:
    void strip_buttons_to_assistive_technology()
    {
        Mag m;
        QSet<QString> names;
        for (int i = 0; i < 6; ++i) {
            QAccessibleInterface* a = acc(m.mag.img_ico(i));
            QCOMPARE(a->role(), QAccessible::Button);
            const QString n = a->text(QAccessible::Name);
            QVERIFY(!n.isEmpty() && !names.contains(n));
            names << n;
            QVERIFY(a->state().focusable);
            QCOMPARE(a->actionInterface()->actionNames().first(), QAccessibleActionInterface::pressAction());
            // The toggles say which of each pair is chosen: 1.5 and small.
            QCOMPARE(a->state().checkable, i < 4);
            QCOMPARE(bool(a->state().checked), i == 0 || i == 2);
        }
        acc(m.mag.img_ico(1))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(m.mag.zoom(), 2.0f);
        QVERIFY(acc(m.mag.img_ico(1))->state().checked);
        QVERIFY(!acc(m.mag.img_ico(0))->state().checked);

        QSignalSpy closed(&m.mag, &FrmMag::closed);
        acc(m.mag.img_ico(5))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(closed.count(), 1);
    }

    void keys()
    {
        Mag m;
        QVERIFY(m.active);
        // The window holds the keyboard until Tab reaches the strip.
        QCOMPARE(QApplication::focusWidget(), &m.mag);
        key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m.mag.img_ico(0));
        key(Qt::Key_Tab);
        key(Qt::Key_Space);
        QCOMPARE(m.mag.zoom(), 2.0f);
        key(Qt::Key_Tab);
        key(Qt::Key_Tab);
        key(Qt::Key_Return);
        QVERIFY(!m.mag.small_view());

        // An arrow moves the window as a drag of five pixels does, and the
        // view follows it the same way.
        Mag dragged;
        dragged.mag.img_ico_Click(1);
        dragged.mag.img_ico_Click(3);
        QCOMPARE(dragged.mag.pos(), m.mag.pos());
        QTest::mousePress(dragged.mag.pic_mag1(), Qt::LeftButton, {}, QPoint(10, 10));
        dragged.desktop.cursor += QPoint(5, -5);
        dragged.mag.tim_move_Timer();
        QTest::mouseRelease(dragged.mag.pic_mag1(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::keyClick(m.mag.focusWidget(), Qt::Key_Right);
        QTest::keyClick(m.mag.focusWidget(), Qt::Key_Up);
        QCOMPARE(m.mag.pos(), dragged.mag.pos());
        QCOMPARE(m.mag.pic_mag1()->pos(), dragged.mag.pic_mag1()->pos());
        QCOMPARE(m.mag.pic_mag2()->pos(), dragged.mag.pic_mag2()->pos());

        // Escape is the close button.
        QSignalSpy closed(&m.mag, &FrmMag::closed);
        QTest::keyClick(m.mag.focusWidget(), Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
    }
};

QV_REGISTER_TEST(TestMagKeyboard)
#include "tst_mag_keyboard.moc"
