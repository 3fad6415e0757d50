// End to end, in real time: qv742-ctl against qv742-sim over a pseudo-terminal.

#include "sim_process.h"
#include "test_registry.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <csignal>
#include <unistd.h>

namespace {

struct Run {
    int status = -1;
    QStringList out;
    QString err;
};

Run ctl(const QStringList& args, const char* program = QV742_CTL)
{
    QProcess p;
    p.start(QString::fromLocal8Bit(program), args);
    p.waitForFinished(20000);
    Run r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLatin1(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// Starts `qv742-ctl --listen` and tells when it listens, however long a busy
// machine takes to start it: the reply to its VER999 comes just before.
bool start_listening(QProcess& listener, const QString& link, const char* seconds)
{
    listener.start(QStringLiteral(QV742_CTL), {"--port", link, "--listen", seconds, "VER999"});
    const QDeadlineTimer deadline(20000);
    while (!listener.canReadLine() && listener.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    return listener.readLine().trimmed() == "VER105";
}

}  // namespace

class TestTools : public QObject {
    Q_OBJECT
private slots:
    // One reply per command; it waits for the ready message of slow
    // commands; a silent box gives NONE and status 1, after the 0.3 s.
    void ctl_gets_one_reply_per_command_and_the_ready_messages()
    {
        SimProcess sim({"--ready-delay", "300"}), silent({"--no-reply"});
        QVERIFY(sim.ready());
        Run r = ctl({"--port", sim.link(), "VER999", "PWR999", "asp002", "ASP999"});
        QCOMPARE(r.out << QString::number(r.status), (QStringList{"VER105", "PWR001", "ASP002", "ASP002", "0"}));
        QTRY_COMPARE(sim.received(), (QStringList{"VER999", "PWR999", "ASP002", "ASP999"}));
        QElapsedTimer t;
        t.start();
        r = ctl({"--port", sim.link(), "PWR001", "PWR999"});
        QCOMPARE(r.out << QString::number(r.status), (QStringList{"PWR001", "PWR001", "0"}));
        QVERIFY(t.elapsed() >= 300);
        QTRY_VERIFY(sim.lines().contains("send RDY000"));
        t.restart();
        r = ctl({"--port", silent.link(), "PWR999"});
        QCOMPARE(r.out << QString::number(r.status), (QStringList{"NONE", "1"}));
        QVERIFY(t.elapsed() >= 300);
    }

    void usage_and_port_errors_give_status_2()
    {
        const Run missing = ctl({"--port", "/nonexistent/ttyQV", "VER999"});
        QVERIFY(missing.status == 2 && missing.err.contains("/nonexistent/ttyQV") && missing.out.isEmpty());
        for (const QStringList& args : {QStringList{"--port", "/dev/null", "PWR99"}, QStringList{"VER999"},
                                        QStringList{"--port", "/dev/null"},
                                        QStringList{"--list", "--port", "/dev/ttyS0"}})
            QCOMPARE(ctl(args).status, 2);
        QVERIFY(ctl({"--help"}).out.join(' ').contains("--listen"));
        const Run panel = ctl({"--bogus"}, QV742_PANEL);  // mistyped: said, with where to look
        QVERIFY(panel.status == 2 && panel.err.contains("\nTry 'qv742-panel --help'."));

        // --list: one device a line, path, stable name and description; none is no error.
        const Run r = ctl({"--list"});
        QCOMPARE(r.status, 0);
        for (const QString& line : r.out)
            QVERIFY2(line.split('\t').size() == 3 && QFileInfo::exists(line.section('\t', 0, 0)), qPrintable(line));
    }

    // --listen prints what the box sends on its own for the time given, and
    // ends at once when the box vanishes.
    void listen_prints_what_the_box_sends_on_its_own()
    {
        auto sim = std::make_unique<SimProcess>();
        QProcess listener, lost;
        QVERIFY(start_listening(listener, sim->link(), "2"));
        sim->type("SCN001");
        QVERIFY(listener.waitForFinished(10000) && listener.exitCode() == 0);
        QCOMPARE(QString::fromLatin1(listener.readAllStandardOutput()).trimmed(), QString("SCN001"));

        // Out of range: refused, neither skipped nor spun on.
        for (const char* bad : {"inf", "nan", "1e300", "-1", "3e6"})
            QCOMPARE(ctl({"--port", sim->link(), "--listen", QString(bad)}).status, 2);

        QVERIFY(start_listening(lost, sim->link(), "30"));
        sim.reset();
        QElapsedTimer t;
        t.start();
        QVERIFY(lost.waitForFinished(20000));
        QVERIFY2(t.elapsed() < 10000, "it listened on after the box had gone");
        QVERIFY(lost.exitCode() == 2 && QString::fromLocal8Bit(lost.readAllStandardError()).contains("lost"));
    }

    void the_simulator_never_takes_a_link_in_use()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath("com1"), mine = dir.filePath("mine");
        const auto sim_on = [](QProcess& p, const QString& path) {
            p.start(QStringLiteral(QV742_SIM), {"--link", path});
            p.closeWriteChannel();
        };
        const auto refused = [&](const QString& path) {
            QProcess p;
            sim_on(p, path);
            return p.waitForFinished(5000) && p.exitCode() == 2;
        };
        QProcess first;
        sim_on(first, link);
        QTRY_VERIFY(QFileInfo(link).isSymLink());
        const QString pty = QFile::symLinkTarget(link);
        QVERIFY(QFile::link(dir.path(), mine));
        QVERIFY(refused(link) && refused(mine));  // another simulator's link, the user's own
        QCOMPARE(QFile::symLinkTarget(link), pty);
        // Replaced while the simulator runs: not removed when it stops.
        QVERIFY(QFile::remove(link) && QFile::link(dir.path(), link));
        first.terminate();
        QVERIFY(first.waitForFinished(5000) && QFileInfo(link).isSymLink());
        // Dangling, as a simulator that has gone leaves it: taken, then removed.
        QVERIFY(QFile::remove(link) && QFile::link(dir.filePath("gone"), link));
        QProcess second;
        sim_on(second, link);
        QTRY_VERIFY(QFileInfo::exists(link));
        second.terminate();
        QVERIFY(second.waitForFinished(5000) && !QFileInfo(link).isSymLink());
    }

    // Output that cannot be written, to a full disk or to a reader that
    // has gone (with SIGPIPE ignored, as under systemd), is an error with a
    // non-zero exit for every tool, never a silent success.
    void a_failed_write_of_the_output_is_an_error()
    {
        SimProcess sim;
        QTemporaryDir dir;
        const struct {
            const char* program;
            QStringList args;
        } runs[] = {
            {QV742_CTL, {"--help"}},
            {QV742_CTL, {"--port", sim.link(), "VER999"}},
            {QV742_SIM, {"--version"}},
            {QV742_SIM, {"--link", dir.filePath("com1")}},  // its report of the traffic
            {QV742_PANEL, {"--version"}},
        };
        for (const bool closed_pipe : {false, true}) {
            for (const auto& run : runs) {
                QProcess p;
                if (closed_pipe) {
                    p.setStandardOutputFile(QProcess::nullDevice());
                    p.setChildProcessModifier([] {
                        int ends[2];
                        ::signal(SIGPIPE, SIG_IGN);
                        if (::pipe(ends) == 0)
                            ::close(ends[0]), ::dup2(ends[1], STDOUT_FILENO);
                    });
                } else {
                    p.setStandardOutputFile("/dev/full");
                }
                p.start(QString::fromLatin1(run.program), run.args);
                p.closeWriteChannel();
                if (run.args.first() == "--link") {  // the simulator reports a command it receives
                    QTRY_VERIFY(QFileInfo::exists(dir.filePath("com1")));
                    ctl({"--port", dir.filePath("com1"), "VER999"});
                }
                const QString row = QString("%1 %2, %3").arg(run.program, run.args.join(' '), closed_pipe ? "pipe" : "full");
                QVERIFY2(p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit, qPrintable(row));
                QVERIFY2(p.exitCode() == 2 && p.readAllStandardError().contains("cannot write the output"), qPrintable(row));
            }
        }
    }
};

QV_REGISTER_TEST(TestTools)
#include "tst_tools.moc"
