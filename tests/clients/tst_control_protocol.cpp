// The control socket's language: lines, requests and answers.

#include "app/control_protocol.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace control;

class TestControlProtocol : public QObject {
    Q_OBJECT
private slots:
    void lines_are_split_and_bounded_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<bool>("failed");
        QTest::newRow("two in one") << QByteArrayList{"SHOW\nDEVICE\n"} << QByteArrayList{"SHOW", "DEVICE"} << false;
        QTest::newRow("split, CRLF") << QByteArrayList{"CM", "D PWR", "999\r", "\n"} << QByteArrayList{"CMD PWR999"}
                                     << false;
        QTest::newRow("unfinished") << QByteArrayList{"SHOW\nLIS"} << QByteArrayList{"SHOW"} << false;
        QTest::newRow("64 bytes") << QByteArrayList{QByteArray(64, 'A') + "\n"} << QByteArrayList{QByteArray(64, 'A')}
                                  << false;
        QTest::newRow("65 bytes") << QByteArrayList{"SHOW\n" + QByteArray(65, 'A') + "\nSHOW\n"}
                                  << QByteArrayList{"SHOW"} << true;
        QTest::newRow("no end in sight") << QByteArrayList{QByteArray(40, 'A'), QByteArray(40, 'A')}
                                         << QByteArrayList{} << true;
    }
    void lines_are_split_and_bounded()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArrayList, lines);
        QFETCH(bool, failed);
        LineReader reader;
        QByteArrayList got;
        for (const QByteArray& chunk : chunks) {
            reader.feed(chunk);
            while (const auto line = reader.take_line())
                got << *line;
        }
        QCOMPARE(got, lines);
        QCOMPARE(reader.failed(), failed);
        QVERIFY(reader.buffered() <= kMaxRequestBytes);
    }

    void requests_are_read_strictly()
    {
        QString error;
        QCOMPARE(parse_request("SHOW", error)->kind, RequestKind::Show);
        QCOMPARE(parse_request("LISTEN", error)->kind, RequestKind::Listen);
        QCOMPARE(parse_request("DEVICE", error)->com, 0);
        QCOMPARE(parse_request("DEVICE 2", error)->com, 2);
        const auto command = parse_request("CMD FRZ001", error);
        QCOMPARE(command->kind, RequestKind::Command);
        QCOMPARE(command->command, QString("FRZ001"));
        const QByteArrayList bad_requests = {"show",       "DEVICE 3",   "CMD frz001", "CMD FRZ01", "CMD FRZ0010",
                                             "CMD FRZ 01", "CMD",        "",           QByteArray("CMD FRZ\0001", 10)};
        for (const QByteArray& bad : bad_requests) {
            error.clear();
            QVERIFY2(!parse_request(bad, error), bad.constData());
            QVERIFY(!error.isEmpty());
        }
    }

    void answers_keep_their_framing()
    {
        QCOMPARE(answer_line("OK"), QByteArray("OK\n"));
        QCOMPARE(answer_line("DEVICE", "/dev/odd\nname"), QByteArray("DEVICE /dev/odd?name\n"));
        const Answer a = split_answer("REPLY PWR001");
        QCOMPARE(a.word, QByteArray("REPLY"));
        QCOMPARE(a.text, QString("PWR001"));
        QCOMPARE(split_answer("NODEVICE").word, QByteArray("NODEVICE"));
    }

    void one_device_under_two_names()
    {
        QTemporaryDir dir;
        const QString device = dir.filePath("ttyQV");
        QFile(device).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(device, dir.filePath("com1")));
        QCOMPARE(canonical_device(dir.filePath("com1")), canonical_device(device));
        QCOMPARE(canonical_device(dir.path() + "/./ttyQV"), canonical_device(device));
        QCOMPARE(canonical_device("/dev/no-such-qv"), QString("/dev/no-such-qv"));
    }
};

QV_REGISTER_TEST(TestControlProtocol)
#include "tst_control_protocol.moc"
