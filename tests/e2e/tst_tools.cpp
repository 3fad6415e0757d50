// End to end, in real time: qv742-ctl against qv742-sim over a pseudo-terminal.

#include "sim_process.h"
#include "test_registry.h"

#include <QElapsedTimer>

namespace {

struct Run {
    int status = -1;
    QStringList out;
    QString err;
};

Run ctl(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QV742_CTL), args);
    p.waitForFinished(20000);
    Run r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLatin1(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

}  // namespace

class TestTools : public QObject {
    Q_OBJECT
private slots:
    void ctl_gets_one_reply_per_command()
    {
        SimProcess sim;
        QVERIFY(sim.ready());
        const Run r = ctl({"--port", sim.link(), "VER999", "PWR999", "asp002", "ASP999"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, (QStringList{"VER105", "PWR001", "ASP002", "ASP002"}));
        QTRY_COMPARE(sim.received(), (QStringList{"VER999", "PWR999", "ASP002", "ASP999"}));
    }

    void ctl_waits_for_the_ready_message_of_slow_commands()
    {
        SimProcess sim({"--ready-delay", "300"});
        QElapsedTimer t;
        t.start();
        const Run r = ctl({"--port", sim.link(), "PWR001", "PWR999"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, (QStringList{"PWR001", "PWR001"}));
        QVERIFY(t.elapsed() >= 300);
        QTRY_VERIFY(sim.lines().contains("send RDY000"));
    }

    void a_silent_box_gives_none_and_status_1()
    {
        SimProcess sim({"--no-reply"});
        QElapsedTimer t;
        t.start();
        const Run r = ctl({"--port", sim.link(), "PWR999"});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out, QStringList{"NONE"});
        QVERIFY(t.elapsed() >= 300);
    }

    void usage_and_port_errors_give_status_2()
    {
        const Run missing = ctl({"--port", "/nonexistent/ttyQV", "VER999"});
        QCOMPARE(missing.status, 2);
        QVERIFY(missing.err.contains("/nonexistent/ttyQV"));
        QVERIFY(missing.out.isEmpty());
        QCOMPARE(ctl({"--port", "/dev/null", "PWR99"}).status, 2);
        QCOMPARE(ctl({"VER999"}).status, 2);
        QCOMPARE(ctl({"--port", "/dev/null"}).status, 2);
        QVERIFY(ctl({"--help"}).out.join(' ').contains("--listen"));
        QCOMPARE(ctl({"--list", "--port", "/dev/ttyS0"}).status, 2);
    }

    // One device a line: path, stable name and description; none is no error.
    void list_prints_the_serial_devices_present()
    {
        const Run r = ctl({"--list"});
        QCOMPARE(r.status, 0);
        for (const QString& line : r.out)
            QVERIFY2(line.split('\t').size() == 3 && QFileInfo::exists(line.section('\t', 0, 0)), qPrintable(line));
    }

    void listen_prints_what_the_box_sends_on_its_own()
    {
        SimProcess sim;
        QProcess listener;
        listener.start(QStringLiteral(QV742_CTL), {"--port", sim.link(), "--listen", "2"});
        QVERIFY(listener.waitForStarted());
        QTest::qWait(500);
        sim.type("SCN001");
        QVERIFY(listener.waitForFinished(5000));
        QCOMPARE(listener.exitCode(), 0);
        QCOMPARE(QString::fromLatin1(listener.readAllStandardOutput()).trimmed(), QString("SCN001"));
    }

    void a_vanished_box_ends_the_client_at_once()
    {
        auto sim = std::make_unique<SimProcess>();
        QProcess listener;
        listener.start(QStringLiteral(QV742_CTL), {"--port", sim->link(), "--listen", "30"});
        QVERIFY(listener.waitForStarted());
        QTest::qWait(300);
        QElapsedTimer t;
        t.start();
        sim.reset();
        QVERIFY(listener.waitForFinished(5000));
        QVERIFY(t.elapsed() < 3000);
        QCOMPARE(listener.exitCode(), 2);
        QVERIFY(QString::fromLocal8Bit(listener.readAllStandardError()).contains("lost"));
    }
};

QV_REGISTER_TEST(TestTools)
#include "tst_tools.moc"
