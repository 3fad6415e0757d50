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
#include <QSignalSpy>
#include <QTest>

namespace {

struct Mag {
    Mag()
    {
        desktop.screen_image = screen_pattern(1024, 768);
        desktop.cursor = QPoint(500, 400);
        mag.open();
    }
    SharedState state;
    FakeDesktop desktop;
    PictureStore pictures;
    FrmMag mag{state, desktop, pictures};
};

QAccessibleInterface* acc(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }

}  // namespace

class TestMagKeyboard : public QObject {
    Q_OBJECT
private slots:
    void strip_buttons()
    {
        Mag m;
        m.mag.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m.mag));
        const auto key = [&m](Qt::Key k) { QTest::keyClick(m.mag.focusWidget(), k); };
        QStringList names;
        for (int i = 0; i < 6; ++i) {
            QAccessibleInterface* a = acc(m.mag.img_ico(i));
            const QString name = a->text(QAccessible::Name);
            QVERIFY(a->role() == QAccessible::Button && a->state().focusable && !name.isEmpty() && !names.contains(name));
            names << name;
            QCOMPARE(a->actionInterface()->actionNames().first(), QAccessibleActionInterface::pressAction());
            // The toggles say which of each pair is chosen: 1.5 and small.
            QCOMPARE(bool(a->state().checkable), i < 4);
            QCOMPARE(bool(a->state().checked), i == 0 || i == 2);
        }
        acc(m.mag.img_ico(1))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::processEvents();
        QCOMPARE(m.mag.zoom(), 2.0f);
        QVERIFY(acc(m.mag.img_ico(1))->state().checked && !acc(m.mag.img_ico(0))->state().checked);

        // The keyboard: the window holds it until Tab reaches the strip.
        QCOMPARE(QApplication::focusWidget(), &m.mag);
        for (Qt::Key k : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return})
            key(k);
        QCOMPARE(QApplication::focusWidget(), m.mag.img_ico(3));
        QVERIFY(!m.mag.small_view());

        // An arrow moves the window as a drag of five pixels does, the view
        // following it the same way.
        Mag dragged;
        dragged.mag.img_ico_Click(1);
        dragged.mag.img_ico_Click(3);
        QTest::mousePress(dragged.mag.pic_mag1(), Qt::LeftButton, {}, QPoint(10, 10));
        dragged.desktop.cursor += QPoint(5, -5);
        dragged.mag.tim_move_Timer();
        QTest::mouseRelease(dragged.mag.pic_mag1(), Qt::LeftButton, {}, QPoint(10, 10));
        key(Qt::Key_Right);
        key(Qt::Key_Up);
        QCOMPARE(QList<QPoint>({m.mag.pos(), m.mag.pic_mag1()->pos(), m.mag.pic_mag2()->pos()}),
                 QList<QPoint>({dragged.mag.pos(), dragged.mag.pic_mag1()->pos(), dragged.mag.pic_mag2()->pos()}));

        // Escape is the close button.
        QSignalSpy closed(&m.mag, &FrmMag::closed);
        key(Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
    }
};

QV_REGISTER_TEST(TestMagKeyboard)
#include "tst_mag_keyboard.moc"
