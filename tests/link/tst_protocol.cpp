// What goes over the line: values and messages, the receive log, the simulated box, and the real serial port on a
// pseudo-terminal and on paths that are none.

#include "box/box_model.h"
#include "link/protocol.h"
#include "link/receive_log.h"
#include "link/serial_device.h"
#include "link/system_serial_port.h"
#include "test_registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList messages(const BoxInput& in)
{
    QStringList out;
    for (const Emission& e : in.emissions)
        out << QString::fromLatin1(e.message);
    return out;
}

}  // namespace

class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void values_render_as_three_digits_and_read_from_the_last_three()
    {
        QStringList rendered;
        for (int v : {5, 63, 255, 0})
            rendered << protocol::render_value(v);
        for (int v : {7, -1, 1000, 70000})  // out of range never makes a command that is not six characters
            rendered << protocol::command("CON", v);
        QCOMPARE(rendered, (QStringList{"005", "063", "255", "000", "CON007", "CON000", "CON999", "CON999"}));

        // Blanks are skipped; the first other character ends the number.
        QList<int> values;
        for (const char* reply : {"VER105", "NONE", "ASP002", "ABC 12", "ABC1 2", "ABC\t12", "ABC1\n2", "ABC1X2",
                                  "ABCXYZ", "ABC-01", "42", ""})
            values << protocol::read_value(reply);
        QCOMPARE(values, (QList<int>{105, 0, 2, 12, 12, 12, 12, 1, 0, 0, 42, 0}));
        QVERIFY(protocol::mnemonic("PWR001") == "PWR" && protocol::expects_ready("PAT000"));
        QVERIFY(!protocol::expects_ready("PAT001") && !protocol::expects_ready("PWR000"));
    }

    void receive_log_keeps_the_newest_whole_entries()
    {
        ReceiveLog log(1000);
        log.append("PWR001");
        const quint64 before = log.revision();
        for (int i = 0; i < 1000; ++i)
            log.append(QStringLiteral("M%1").arg(i, 5, 10, QLatin1Char('0')));
        QVERIFY(log.text().size() <= 1000 && log.text().endsWith("M00999 "));
        QVERIFY(log.text().startsWith("M") && log.text().size() % 7 == 0);  // cut at an entry boundary
        QVERIFY(log.revision() != before);            // views must reload
        log.clear();
        QVERIFY(log.text().isEmpty());
        // A trim keeps three quarters, so it is rare and loses little.
        const quint64 cleared = log.revision();
        for (int i = 0; log.revision() == cleared; ++i)
            log.append(QStringLiteral("M%1").arg(i, 5, 10, QLatin1Char('0')));
        QVERIFY(log.text().size() > 750 - 7 && log.text().size() <= 750);
    }

    void the_simulated_box_answers_as_the_real_one()
    {
        BoxModel box;
        QStringList answers;
        for (const char* cmd : {"PWR999", "ASP002", "ASP999", "ASP007", "ARA010", "ARA009", "VER999", "MVU001",
                                "XYZ123", "BRI200"})
            answers += messages(box.receive(cmd, 0));
        // A refused value is answered with what holds.
        QCOMPARE(answers, (QStringList{"PWR001", "ASP002", "ASP002", "ASP002", "ARA001", "ARA009", "VER105",
                                       "MVU001", "XYZ123", "BRI200"}));
        for (const Emission& e : box.receive("CON010", 0).emissions)
            QVERIFY(e.at_us > 0 && e.at_us < 300'000);

        // Ready after the slow commands, never with the reply.
        for (const char* slow : {"PWR001", "ZOM001", "ZOM000", "RST000", "RST003", "PAT000"}) {
            const BoxInput in = BoxModel().receive(slow, 1000);
            QCOMPARE(messages(in).mid(1), QStringList{QString::fromLatin1(BoxModel::kReadyMessage)});
            const qint64 ready_at = in.emissions[1].at_us;
            QVERIFY(ready_at >= in.emissions[0].at_us + 100'000 && ready_at < 1000 + 5'000'000);
        }
        for (const char* quick : {"PWR000", "PAT001", "RST001", "ZOM999", "PWR999"})
            QCOMPARE(BoxModel().receive(quick, 0).emissions.size(), size_t(1));
        BoxConfig immediate;
        immediate.ready_delay_ms = 0;
        const BoxInput in = BoxModel(immediate).receive("PWR001", 0);
        QVERIFY(in.emissions[1].at_us > in.emissions[0].at_us);

        // Resets restore the defaults.
        BoxModel reset;
        const auto values = [&] {
            return QList<int>{reset.value("CON"), reset.value("ASP"), reset.value("FRZ"), reset.value("PWR")};
        };
        reset.receive("CON050ASP001FRZ001", 0);
        reset.receive("RST003", 0);
        QCOMPARE(values(), (QList<int>{32, 1, 1, 1}));  // the video levels only
        reset.receive("RST000", 0);
        QCOMPARE(values(), (QList<int>{32, 0, 0, 1}));  // a reset does not switch it off

        // Commands framed from any chunks.
        BoxModel framer;
        QVERIFY(framer.receive("PW", 0).commands.isEmpty());
        QCOMPARE(framer.receive("R999SC", 10'000).commands, QStringList{"PWR999"});
        // A leftover partial command is dropped after a pause.
        QVERIFY(framer.receive("N999", 1'000'000).commands.isEmpty());
        QCOMPARE(framer.receive("AS", 1'000'100).commands, QStringList{"N999AS"});  // stale garbage framed as a command
        framer.receive("XX", 3'000'000);
        QCOMPARE(framer.receive("SCN999", 3'500'000).commands, QStringList{"SCN999"});

        BoxConfig other, paced;
        other.version = 7;
        QCOMPARE(messages(BoxModel(other).receive("VER999", 0)), QStringList{"VER007"});

        // Paced: the command takes six byte times to arrive and the reply six
        // more, its bytes following one another at the line rate.
        paced.paced = true;
        paced.reply_delay_ms = 0;
        const Emission reply = BoxModel(paced).receive("PWR999", 0).emissions[0];
        QCOMPARE(reply.at_us + 5 * reply.byte_interval_us, 12 * BoxModel::kByteTimeUs);
        QCOMPARE(reply.byte_interval_us, BoxModel::kByteTimeUs);

        BoxModel told;
        QVERIFY(told.announce("PWR000", 5).message == "PWR000" && told.value("PWR") == 0);
    }

    void one_lock_per_device_and_no_port_in_what_is_none()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString pts = QString::fromLocal8Bit(::ptsname(master));
        QTemporaryDir dir;
        QVERIFY(QFile::link(pts, dir.filePath("com1")));
        SystemSerialPort first, second;
        QString error;
        QVERIFY2(first.open_path(dir.filePath("com1"), error), qPrintable(error));
        QVERIFY(!second.open_path(pts, error) && error.contains("locking"));  // the same device, another name
        first.close();
        QVERIFY2(second.open_path(pts, error), qPrintable(error));
        second.close();
        ::close(master);

        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
        for (const QString& none : {dir.filePath("fifo"), dir.path(), QString("/dev/null")})
            QVERIFY(!first.open_path(none, error) && error == QString(kNotSerialDevice));
        QVERIFY(!first.open_path("/tmp/" + QString(5000, 'x'), error) && error == QString(kLockNameTooLong));
    }
};

QV_REGISTER_TEST(TestProtocol)
#include "tst_protocol.moc"
