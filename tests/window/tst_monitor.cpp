// The receive monitor.

#include "link/device_link.h"
#include "link/receive_log.h"
#include "monitor/frm_rx.h"
#include "monitor/log_wrap.h"
#include "panel_rig.h"
#include "test_registry.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

class TestMonitor : public QObject {
    Q_OBJECT
private slots:
    void shows_every_collected_message()
    {
        StartedPanel r;
        FrmRx* monitor = r.frm().monitor();
        QVERIFY(monitor && monitor->isVisible());
        QCOMPARE(QRect(monitor->pos(), monitor->size()), QRect(0, 0, 324, 258));
        QCOMPARE(monitor->windowTitle(), QString("Receive Monitor"));
        QVERIFY(monitor->txt_test()->toPlainText().startsWith("VER105 PWR001 ASP000 "));

        r.link().receive_log().clear();
        monitor->sync();
        r.link().tx_cmd("VER999");
        r.port.unanswered << "PWR999";
        r.link().tx_cmd("PWR999");  // no answer at all: nothing
        r.box_says("PWR");          // cut short: NONE
        QCOMPARE(monitor->txt_test()->toPlainText(), QString("VER105 NONE "));
        QTest::mouseClick(monitor->cmd_clear(), Qt::LeftButton);
        QCOMPARE(monitor->txt_test()->toPlainText(), QString());
        QVERIFY(r.link().receive_log().text().isEmpty());
    }

    void the_view_wraps_between_entries()
    {
        LogWrap whole{20, 0};
        const QString log = QStringLiteral("VER105 PWR001 ASP000 NONE SCN001 ") + QChar(0x0a) + "AB\x01" "DE ";
        const QString shown = whole.append(log);
        for (const QString& line : shown.split('\n'))
            QVERIFY2(line.trimmed().size() <= 20, qPrintable(line));
        QVERIFY(shown.startsWith("VER105 PWR001 ASP000 \nNONE SCN001 "));
        QVERIFY(!shown.contains(QChar(0x01)));  // control characters shown as dots
        QCOMPARE(QString(shown).remove('\n').size(), log.size());
        // Entry by entry gives the same view as all at once.
        LogWrap step{20, 0};
        QString pieces;
        for (const QString& entry : QStringList{"VER105 ", "PWR001 ", "ASP000 ", "NONE ", "SCN001 "})
            pieces += step.append(entry);
        QVERIFY(shown.startsWith(pieces));
    }

    void switches_between_big_and_small()
    {
        StartedPanel r;
        FrmRx* monitor = r.frm().monitor();
        QVERIFY(monitor->opt_win(1)->isChecked());
        monitor->opt_win(0)->click();
        QCOMPARE(QSize(monitor->width(), monitor->txt_test()->width()), QSize(1024, 1004));
        monitor->opt_win(1)->setChecked(true);  // as assistive technology does, without a click
        QCOMPARE(QSize(monitor->width(), monitor->txt_test()->width()), QSize(341, 321));  // 15360 / 3 twips
        QCOMPARE(monitor->height(), 258);
    }

    void follows_the_newest_entry_unless_scrolled_up()
    {
        StartedPanel r;
        FrmRx* monitor = r.frm().monitor();
        for (int i = 0; i < 400; ++i)
            r.box_says("XYZ123");
        QScrollBar* bar = monitor->txt_test()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(0);
        r.box_says("XYZ123");
        QCOMPARE(bar->value(), 0);
    }

    void a_closed_monitor_comes_back_hidden_until_asked_for()
    {
        StartedPanel r;
        r.frm().monitor()->close();
        QCoreApplication::processEvents();
        QTRY_VERIFY(!r.frm().monitor());
        QVERIFY(r.link().receive_log().text().isEmpty());
        r.box_says("ASP001");
        FrmRx* fresh = r.frm().monitor();
        QVERIFY(fresh && !fresh->isVisible() && fresh->pos() == QPoint(0, 0));
        QCOMPARE(fresh->txt_test()->toPlainText(), QString("ASP001 "));
        QTest::mouseDClick(r.el().img_connect, Qt::LeftButton);  // asked for again
        QVERIFY(fresh->isVisible() && !r.st.dragging);
        fresh->close();  // and from the keyboard
        QTRY_VERIFY(!r.frm().monitor());
        QApplication::setActiveWindow(&r.frm());
        QTRY_VERIFY(r.frm().isActiveWindow());
        QTest::keyClick(&r.frm(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(r.frm().monitor() && r.frm().monitor()->isVisible());
    }
};

QV_REGISTER_TEST(TestMonitor)
#include "tst_monitor.moc"
