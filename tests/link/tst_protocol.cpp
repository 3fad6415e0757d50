#include "link/protocol.h"
#include "link/receive_log.h"
#include "test_registry.h"

class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void renders_values_as_three_digits()
    {
        QStringList rendered;
        for (int v : {5, 63, 255, 0})
            rendered << protocol::render_value(v);
        QCOMPARE(rendered, (QStringList{"005", "063", "255", "000"}));
        QCOMPARE(protocol::command("CON", 7), QString("CON007"));
        // Out of range never makes a command that is not six characters.
        QCOMPARE(protocol::command("CON", -1), QString("CON000"));
        QCOMPARE(protocol::command("CON", 1000), QString("CON999"));
        QCOMPARE(protocol::command("BRI", 70000).size(), 6);
    }

    void reads_values_from_the_last_three_characters()
    {
        // Blanks are skipped; the first other character ends the number.
        QList<int> values;
        for (const char* reply : {"VER105", "NONE", "ASP002", "ABC 12", "ABC1 2", "ABC\t12", "ABC1\n2", "ABC1X2",
                                  "ABCXYZ", "ABC-01", "42", ""})
            values << protocol::read_value(reply);
        QCOMPARE(values, (QList<int>{105, 0, 2, 12, 12, 12, 12, 1, 0, 0, 42, 0}));
        QCOMPARE(protocol::mnemonic("PWR001"), QString("PWR"));
    }

    void slow_commands_expect_a_ready_message()
    {
        QVERIFY(protocol::expects_ready("PAT000"));
        QVERIFY(!protocol::expects_ready("PAT001") && !protocol::expects_ready("PWR000"));
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
