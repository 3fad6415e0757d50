// End to end with a real screen reader's client: the panel program on the
// X server of tst_mouse_e2e, with a private session bus and the
// accessibility bus, read and worked by AT-SPI (python3-pyatspi) while
// qv742-sim stands in for the box. Keys come from xdotool.

#include "panel_copy.h"
#include "sim_process.h"
#include "test_registry.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

// Session id of a running process, or -1.
pid_t session_of(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // pid (comm) state ppid pgrp session ...; comm may hold blanks.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 3 ? fields[3].toInt() : -1;
}

// A program started as the leader of a session of its own, so whatever it
// starts (the accessibility bus, the registry daemon, which outlive it) can
// be found by its session and ended by id.
class SessionProgram {
public:
    bool start(const QString& program, const QStringList& args, const QProcessEnvironment& env)
    {
        process_.setProgram(program);
        process_.setArguments(args);
        process_.setProcessEnvironment(env);
        process_.setChildProcessModifier([] { ::setsid(); });
        process_.start();
        if (!process_.waitForStarted(10000))
            return false;
        session_ = static_cast<pid_t>(process_.processId());
        return true;
    }
    QProcess& process() { return process_; }

    ~SessionProgram()
    {
        if (session_ <= 0)
            return;
        QList<pid_t> members;
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool number = false;
            const pid_t pid = entry.toInt(&number);
            if (number && session_of(pid) == session_)
                members << pid;
        }
        for (pid_t pid : members)
            ::kill(pid, SIGTERM);
        process_.waitForFinished(5000);
        for (pid_t pid : members) {
            for (int i = 0; i < 100 && session_of(pid) == session_; ++i)
                QTest::qWait(20);
            if (session_of(pid) == session_)
                ::kill(pid, SIGKILL);
        }
    }

private:
    QProcess process_;
    pid_t session_ = -1;
};

// The AT-SPI client, one command and one answer at a time.
class AtspiClient {
public:
    bool start(const QProcessEnvironment& env)
    {
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral(QV742_SOURCE_DIR "/tests/e2e/atspi_client.py")});
        return process_.waitForStarted(10000);
    }
    ~AtspiClient()
    {
        process_.write("quit\n");
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    QString ask(const QString& command, int timeout_ms = 20000)
    {
        process_.write(command.toUtf8() + '\n');
        return answer(timeout_ms);
    }
    // A block of lines ending in "end".
    QStringList ask_block(const QString& command)
    {
        QStringList lines;
        for (QString line = ask(command); line != QLatin1String("end") && !line.isEmpty(); line = answer(20000))
            lines << line;
        return lines;
    }

private:
    QString answer(int timeout_ms)
    {
        QElapsedTimer waited;
        waited.start();
        while (!process_.canReadLine() && waited.elapsed() < timeout_ms)
            process_.waitForReadyRead(int(timeout_ms - waited.elapsed()));
        return QString::fromUtf8(process_.readLine()).chopped(1);
    }

    QProcess process_;
};

QString xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(15000);
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

bool bus_has(const QProcessEnvironment& env, const QString& name)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("dbus-send"), {"--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                          "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                                          "string:" + name});
    p.waitForFinished(5000);
    return p.readAllStandardOutput().contains("boolean true");
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void a_session_with_a_screen_reader()
    {
        // A private runtime folder and session bus, and the accessibility
        // bus launched on it, as a desktop session has them.
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        SessionProgram bus;
        QVERIFY(bus.start("dbus-daemon",
                          {"--session", "--nofork", "--print-address=1", "--address=unix:path=" + runtime.filePath("bus")},
                          env));
        QVERIFY(bus.process().waitForReadyRead(10000));
        const QString address = QString::fromLatin1(bus.process().readLine()).trimmed();
        QVERIFY(!address.isEmpty());
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        SessionProgram launcher;
        QVERIFY(launcher.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"}, env));
        QTRY_VERIFY_WITH_TIMEOUT(bus_has(env, "org.a11y.Bus"), 20000);

        SimProcess sim;
        QVERIFY(sim.ready());
        PanelCopy panel;
        panel.write_settings("1,1,1500,1500,#FALSE#\r\n");
        // The panel takes this process's environment, with the session's
        // buses and accessibility switched on as a screen reader would.
        const QByteArray runtime_before = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toLocal8Bit());
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        QProcess& process = panel.start(sim.link(), QStringLiteral("xcb"));
        qunsetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        if (runtime_before.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", runtime_before);
        const QStringList startup = {"VER999", "PWR999", "ASP999", "SCN999", "FMT999", "FRZ999",
                                     "NPO999", "PAT999", "ZOM999"};
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), startup, 20000);

        AtspiClient client;
        QVERIFY(client.start(env));
        QCOMPARE(client.ask("find qv742-panel Scan Converter", 40000), QString("ok"));

        // Every showing button of the main page: named, focusable, with an
        // action, and no two alike.
        QSet<QString> names;
        int buttons = 0;
        for (const QString& line : client.ask_block("controls")) {
            const QStringList f = line.split('\t');
            QVERIFY2(f.size() == 5, qPrintable(line));
            QVERIFY2(!f[1].isEmpty() && !names.contains(f[1]), qPrintable(line));
            names << f[1];
            QVERIFY2(f[2] == "True" && f[3].toInt() > 0, qPrintable(line));
            buttons += f[0] == "push button" || f[0] == "toggle button";
            if (f[1] == "Power")
                QCOMPARE(f[4], QString("True"));  // the box is on
        }
        QCOMPARE(buttons, 18);

        // Power through its action: the box is switched off.
        QCOMPARE(client.ask("do Power"), QString("ok"));
        QTRY_COMPARE_WITH_TIMEOUT(sim.received(), startup + QStringList{"PWR000"}, 20000);

        // And from the keyboard: Tab to Power and press Space.
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(window = xdotool({"search", "--onlyvisible", "--name", "^Scan Converter$"}).section('\n', 0, 0)).isEmpty(),
            20000);
        xdotool({"windowfocus", "--sync", window});
        xdotool({"key", "Tab"});
        for (int i = 0; i < 20 && client.ask("focused") != QLatin1String("Power"); ++i)
            xdotool({"key", "Tab"});
        QCOMPARE(client.ask("focused"), QString("Power"));
        xdotool({"key", "space"});
        QTRY_COMPARE_WITH_TIMEOUT(sim.received().mid(startup.size(), 2), (QStringList{"PWR000", "PWR001"}), 20000);

        process.terminate();
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
    }
};

QV_REGISTER_TEST(TestAccessibility)
#include "tst_accessibility_e2e.moc"
