#include "link/protocol.h"
#include "link/receive_log.h"
#include "test_registry.h"

class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void renders_values_as_three_digits()
    {
        QCOMPARE(protocol::render_value(5), QString("005"));
        QCOMPARE(protocol::render_value(63), QString("063"));
        QCOMPARE(protocol::render_value(255), QString("255"));
        QCOMPARE(protocol::render_value(0), QString("000"));
        QCOMPARE(protocol::command("CON", 7), QString("CON007"));
        // Out of range never makes a command that is not six characters.
        QCOMPARE(protocol::command("CON", -1), QString("CON000"));
        QCOMPARE(protocol::command("CON", 1000), QString("CON999"));
        QCOMPARE(protocol::command("BRI", 70000).size(), 6);
    }

    void reads_values_from_the_last_three_characters()
    {
        QCOMPARE(protocol::read_value("VER105"), 105);
        QCOMPARE(protocol::read_value("NONE"), 0);
        QCOMPARE(protocol::read_value("ASP002"), 2);
        QCOMPARE(protocol::read_value("ABC 12"), 12);   // blanks skipped
        QCOMPARE(protocol::read_value("ABC1 2"), 12);
        QCOMPARE(protocol::read_value("ABC1X2"), 1);    // stops at the first other character
        QCOMPARE(protocol::read_value("ABCXYZ"), 0);    // no digits
        QCOMPARE(protocol::read_value("ABC-01"), 0);
        QCOMPARE(protocol::read_value("42"), 42);       // shorter than three
        QCOMPARE(protocol::read_value(""), 0);
        QCOMPARE(protocol::mnemonic("PWR001"), QString("PWR"));
    }

    void bytes_map_to_characters_one_to_one()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        QCOMPARE(protocol::to_wire(protocol::from_wire(all)), all);
        QCOMPARE(protocol::from_wire(all).size(), 256);
        QVERIFY(protocol::expects_ready("PAT000"));
        QVERIFY(!protocol::expects_ready("PAT001"));
        QVERIFY(!protocol::expects_ready("PWR000"));
    }

    void receive_log_keeps_the_newest_whole_entries()
    {
        ReceiveLog log(1000);
        log.append("PWR001");
        QCOMPARE(log.text(), QString("PWR001 "));
        const quint64 before = log.revision();
        for (int i = 0; i < 1000; ++i)
            log.append(QStringLiteral("M%1").arg(i, 5, 10, QLatin1Char('0')));
        QVERIFY(log.text().size() <= 1000);
        QVERIFY(log.text().endsWith("M00999 "));
        QVERIFY(log.text().startsWith("M"));          // cut at an entry boundary
        QCOMPARE(log.text().size() % 7, 0);
        QVERIFY(log.revision() != before);            // views must reload
        log.clear();
        QVERIFY(log.text().isEmpty());
    }
};

QV_REGISTER_TEST(TestProtocol)
#include "tst_protocol.moc"
