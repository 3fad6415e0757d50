// The panel's control socket. On the real panel window, on virtual time: commands wait for the panel's routines and
// are answered in order, bad clients are dropped while it goes on serving, and a second start of the program hands
// over to it. In real time: scripts and clicks share the box.

#include "app/come_forward.h"
#include "app/control_address.h"
#include "app/control_client.h"
#include "app/control_server.h"
#include "app/idle_queue.h"
#include "app/single_instance.h"
#include "app/system_parts.h"
#include "platform/user_socket.h"
#include "magnifier/frm_mag.h"
#include "panel/option_lines.h"
#include "panel_copy.h"
#include "panel_rig.h"
#include "sim_process.h"
#include "test_registry.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The real panel window on virtual time (PanelRig) with its control socket open in a private folder, and a client in
// this thread: its waits run the event loop, so the panel serves meanwhile.
struct ServedPanel {
    explicit ServedPanel(const BoxConfig& box = {}) : rig(box) {}
    bool start()
    {
        rig.start();
        server = std::make_unique<ControlServer>(ControlTarget{
            &rig.p(), [this](const QString& t) { token = t, come_forward(rig.frm()); }, [](int com) { return QStringLiteral("/dev/qv-com%1").arg(com); }});
        return server->listen(path(), error);
    }
    // Where a panel of this user listens when XDG_RUNTIME_DIR is `folder`.
    QString path() const { return folder.filePath("qv742-panel.socket"); }

    PanelRig rig;
    QTemporaryDir folder;
    QString token;  // the activation token the last SHOW brought
    std::unique_ptr<ControlServer> server;
    QString error;
};

struct TestClient {
    explicit TestClient(const QString& path)
    {
        socket.connectToServer(path);
        socket.waitForConnected(2000);
    }
    void say(const QByteArray& line) { socket.write(line + '\n'), socket.flush(); }
    // The next line but the keep-alive WAIT; empty when none came in time.
    QByteArray line()
    {
        const QDeadlineTimer deadline(5000);
        for (;;) {
            while (!socket.canReadLine() && !deadline.hasExpired() && socket.state() == QLocalSocket::ConnectedState)
                QTest::qWait(2);
            const QByteArray next = socket.canReadLine() ? socket.readLine().chopped(1) : QByteArray();
            if (next != "WAIT")
                return next;
        }
    }
    QByteArray ask(const QByteArray& request) { return say(request), line(); }
    bool closed() { return QTest::qWaitFor([&] { return socket.state() == QLocalSocket::UnconnectedState; }, 5000); }
    QLocalSocket socket;
};

// A bare socket, for clients Qt would not let us be: one that never reads, one that floods, one a dead process left.
int raw_socket(const QByteArray& path, bool connect_it)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{AF_UNIX, {}};
    std::strncpy(addr.sun_path, path.constData(), sizeof addr.sun_path - 1);
    const auto* a = reinterpret_cast<const sockaddr*>(&addr);
    if ((connect_it ? ::connect(fd, a, sizeof addr) : ::bind(fd, a, sizeof addr)) != 0)
        return ::close(fd), -1;
    return fd;
}

// Sends `bytes` over and over without reading, until the panel hangs up or `tries` turns passed; what it heard.
QByteArray push_without_reading(int fd, const QByteArray& bytes, int tries)
{
    ::fcntl(fd, F_SETFL, O_NONBLOCK);
    for (int i = 0; i < tries; ++i) {
        if (::send(fd, bytes.constData(), bytes.size(), MSG_NOSIGNAL) == -1 && errno != EAGAIN)
            break;
        QTest::qWait(1);
    }
    QByteArray heard(256, 0);
    heard.resize(std::max<ssize_t>(0, ::recv(fd, heard.data(), heard.size(), 0)));
    ::close(fd);
    return heard;
}

// Every command the box received was answered before the next one came.
bool strictly_alternating(const QStringList& sim_lines)
{
    bool owed = false;
    for (const QString& line : sim_lines) {
        if (line.startsWith("recv ") && owed)
            return false;
        if (line.startsWith("recv ") || (line.startsWith("send ") && line != "send RDY000"))
            owed = line.startsWith("recv ");
    }
    return !owed;
}

// qv742-ctl (or `program`) as a script of the user whose runtime folder is `runtime` (none when null).
QProcess* start_ctl(QObject* parent, const QString& runtime, const QStringList& args,
                    const std::map<QString, QString>& more = {}, const QString& program = QV742_CTL)
{
    auto* p = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    runtime.isNull() ? env.remove("XDG_RUNTIME_DIR") : env.insert("XDG_RUNTIME_DIR", runtime);
    for (const auto& [variable, value] : more)
        env.insert(variable, value);
    p->setProcessEnvironment(env);
    p->start(program, args);
    return p;
}

// Waits for `p` to end, serving events meanwhile: what it printed, then its exit code.
QStringList outcome(QProcess* p)
{
    if (!QTest::qWaitFor([&] { return p->state() == QProcess::NotRunning; }, 20000))
        return {"still running"};
    const QStringList said = QString::fromLatin1(p->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return said + QStringList{QString::number(p->exitCode())};
}

// Starts qv742-panel as this user's second panel and serves it meanwhile; its standard error, or "exit N" if not 0.
QString start_again(ServedPanel& panel, const QStringList& args = {})
{
    SingleInstance first(panel.folder.filePath("qv742-panel.lock"));
    first.acquire();
    const std::unique_ptr<QProcess> second(
        start_ctl(nullptr, panel.folder.path(), args, {{"QT_QPA_PLATFORM", "offscreen"}}, QV742_PANEL));
    const QString status = outcome(second.get()).last();
    return status == "0" ? QString::fromLocal8Bit(second->readAllStandardError()) : "exit " + status;
}

// Runs `act` in a child process as the user nobody when this test runs as root, else as this user, and serves the
// event loop meanwhile. System calls only: the child is a copy of a threaded process. True when `act` returned true.
template <typename Act>
bool as_another_user(Act act)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t nogroup = 65534;
        if (::geteuid() == 0 && (::setgroups(1, &nogroup) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        ::_exit(act() ? 0 : 4);
    }
    int status = -1;
    for (int i = 0; i < 7500 && ::waitpid(child, &status, WNOHANG) != child; ++i)
        QTest::qWait(2);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// What is at `path`, not following a link: inode, type, mode and owner.
QString identity(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) != 0 ? QString("missing")
                                               : QString("%1 %2 %3").arg(st.st_ino).arg(st.st_mode).arg(st.st_uid);
}

}  // namespace

class TestControlServer : public QObject {
    Q_OBJECT
private slots:
    void commands_wait_for_routines_and_are_answered_in_order()
    {
        BoxConfig off;
        off.power_on = false;
        ServedPanel panel(off);
        QVERIFY2(panel.start(), qPrintable(panel.error));
        TestClient script(panel.path());
        script.say("CMD FRZ001");
        // The power button's routine runs window events between exchanges: the command arrives there and waits.
        QCOMPARE(panel.rig.click(buttons::power), QStringList{"PWR001"} + kModeQueries);
        QCOMPARE(script.line(), QByteArray("REPLY FRZ001"));
        QCOMPARE(panel.rig.picture(buttons::freeze), QString("1_freeze_on_0"));

        QCOMPARE(script.ask("LISTEN"), QByteArray("OK"));
        // More than the socket's read buffer at once: none lost, in order.
        script.say("CMD ZOM001\n" + QByteArray("CMD VER999\n").repeated(500) + "DEVICE");
        QByteArray heard;
        for (int i = 0; i < 503; ++i)
            heard += script.line() + '\n';
        QCOMPARE(heard, "REPLY ZOM001\nREADY RDY000\n" + QByteArray("REPLY VER105\n").repeated(500)
                            + "DEVICE /dev/qv-com1\n");
        QCOMPARE(panel.rig.st.current_page, pages::zoom);  // the zoom page, as after the box's own ZOM001
        panel.rig.box_says("SCN001");
        QCOMPARE(script.line(), QByteArray("MSG SCN001"));

        // The port goes: a client that asked for the device hears it.
        panel.rig.port.unplug(QStringLiteral("Input/output error"));
        QCOMPARE(script.line(), QByteArray("LOST Input/output error"));
        QVERIFY(script.closed());
        TestClient listener(panel.path()), bound(panel.path()), quiet(panel.path());
        QCOMPARE(listener.ask("DEVICE"), QByteArray("NODEVICE"));

        // Bound to COM1, clients never reach the box on COM2.
        panel.rig.click(buttons::com1);
        for (TestClient* c : {&listener, &bound})
            QCOMPARE(c->ask("DEVICE"), QByteArray("DEVICE /dev/qv-com1"));
        QCOMPARE(listener.ask("LISTEN"), QByteArray("OK"));
        panel.rig.click(buttons::com2);
        panel.rig.box_says("SCN000");
        const QByteArray lost = "LOST the panel no longer uses this device";
        QCOMPARE(listener.line(), lost);
        QCOMPARE(bound.ask("CMD VER999"), lost);
        QCOMPARE(quiet.ask("DEVICE 1"), QByteArray("DEVICE /dev/qv-com1"));  // no message: it did not listen

        // Clients' jobs run one a turn, so what a job starts (a window event) gets its turn before the next job.
        IdleQueue queue(panel.rig.link());
        QStringList order;
        queue.push([&] {
            order << "A";
            QMetaObject::invokeMethod(&queue, [&] { order << "X"; }, Qt::QueuedConnection);
        });
        queue.push([&] { order << "B"; });
        QTRY_COMPARE(order, (QStringList{"A", "X", "B"}));
    }

    // A killed panel's socket is replaced, a live one is not; bad clients are told and dropped, the panel serving on.
    void bad_clients_are_told_and_dropped()
    {
        ServedPanel panel;
        const QByteArray path = QFile::encodeName(panel.path());
        ::close(raw_socket(path, false));  // bound and never served: what a killed panel leaves
        QVERIFY(panel.start());
        QCOMPARE(TestClient(panel.path()).ask("DEVICE 2"), QByteArray("DEVICE /dev/qv-com2"));
        const auto owner_sees = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
        QCOMPARE(QFile::permissions(panel.path()) & ~owner_sees, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(!ControlServer({&panel.rig.p(), [](const QString&) {}, [](int) { return QString(); }})
                     .listen(panel.path(), panel.error));

        // GNOME's activation tokens carry the application's name, blanks and all.
        const QByteArray gnome_token = "gnome-shell/Scan Converter (build)/69-1-vm_TIME4816693";
        QVERIFY(TestClient(panel.path()).ask("SHOW " + gnome_token) == "OK" && panel.token == gnome_token);
        for (const char* bad : {"HELLO", "show", "DEVICE 3", "CMD frz001", "CMD FRZ01", "CMD FRZ0010", "SHOW \ttab"}) {
            TestClient client(panel.path());
            QVERIFY2(client.ask(bad).startsWith("ERROR ") && client.closed(), bad);
        }
        const QByteArray flood = push_without_reading(raw_socket(path, true), QByteArray(1024 * 1024, 'A'), 100);
        QVERIFY2(flood.startsWith("ERROR "), flood.constData());
        QTRY_COMPARE(panel.server->clients(), 0);
        const int deaf = raw_socket(path, true);
        QTRY_COMPARE(panel.server->clients(), 1);
        push_without_reading(deaf, QByteArray("DEVICE\n").repeated(1000), 5000);
        QCOMPARE(panel.server->clients(), 0);  // dropped, not waited for

        std::vector<std::unique_ptr<TestClient>> crowd;
        for (int i = 0; i < ControlServer::kMaxClients; ++i) {
            crowd.push_back(std::make_unique<TestClient>(panel.path()));
            QCOMPARE(crowd.back()->ask("DEVICE 1"), QByteArray("DEVICE /dev/qv-com1"));
        }
        TestClient one_more(panel.path());
        QVERIFY(one_more.line().startsWith("ERROR "));
        crowd.front()->say("CMD ASP002");
        crowd.front()->socket.abort();  // gone with its command waiting
        QCOMPARE(crowd.back()->ask("CMD VER999"), QByteArray("REPLY VER105"));
        // Stopped, it lets its clients go and takes no new ones.
        panel.server->stop();
        QVERIFY(crowd.back()->closed());
        TestClient late(panel.path());
        QCOMPARE(late.socket.state(), QLocalSocket::UnconnectedState);
    }

    // Scripts hear the truth within seconds: what a panel said before it closed, even when the client writes after
    // the close; a command held up by a box that waits for the user is dropped, and why; a panel that says nothing at
    // all (stopped) is given up on; a device lost under a command is said, with a non-zero exit.
    void scripts_are_told_the_truth_quickly()
    {
        QTemporaryDir stopped;  // a panel's socket served by hand, then by nobody, as a stopped panel's
        const int deaf = raw_socket(QFile::encodeName(stopped.filePath("qv742-panel.socket")), false);
        QVERIFY(deaf >= 0 && ::listen(deaf, 8) == 0);
        const QByteArray old_runtime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(stopped.path()));
        ControlClient client;
        QString error;
        QVERIFY(client.connect_to_panel(0, error));
        qputenv("XDG_RUNTIME_DIR", old_runtime);
        const int served = ::accept(deaf, nullptr, nullptr);
        const QByteArray closing = "ERROR the panel has 8 clients already; try again later\n";
        QVERIFY(::send(served, closing.constData(), closing.size(), MSG_NOSIGNAL) == closing.size());
        ::close(served);
        client.send("DEVICE");
        const auto answer = client.next(2000);
        QCOMPARE(answer ? answer->word : client.failure().toUtf8(), QByteArray("ERROR"));

        QElapsedTimer clock;
        clock.start();
        QProcess* silent = start_ctl(this, stopped.path(), {"--port", "/dev/qv-com1", "VER999"});
        qint64 silent_ms = -1;
        connect(silent, &QProcess::finished, this, [&] { silent_ms = clock.elapsed(); });

        ServedPanel panel;
        QTemporaryDir bmp;  // no Flower skin: choosing it shows a box
        for (const char* f : {"blue_panel.bmp", "1_panel.bmp"})
            QVERIFY(QFile::copy(source_bmp_dir() + "/" + f, bmp.filePath(QString::fromLatin1(f))));
        panel.rig.env.bmp_dir = bmp.path();
        panel.rig.env.message_box = nullptr;  // the real, modal one
        QVERIFY(panel.start());
        QProcess* held = start_ctl(this, panel.folder.path(), {"--port", "/dev/qv-com1", "FRZ001"});
        qint64 told_ms = -1;
        QTimer user;  // closes the box once the script is told, or after 20 s
        user.callOnTimeout([&] {
            if (held->state() == QProcess::NotRunning && told_ms < 0)
                told_ms = clock.elapsed();
            if (QWidget* box = QApplication::activeModalWidget(); box && (told_ms >= 0 || clock.elapsed() > 20000))
                box->close();
        });
        user.start(20);
        const int from = panel.rig.sent().size();
        option_clicked(panel.rig.p(), 3);
        QTest::qWait(50);
        QVERIFY2(told_ms >= 0 && told_ms < 5000, qPrintable(QString::number(told_ms)));
        QVERIFY(held->exitCode() == 2
                && held->readAllStandardError().contains("waiting for its user to close a message box; FRZ001 was not sent"));
        QVERIFY(!panel.rig.sent_since(from).contains("FRZ001"));

        // The device goes while the ready message of the script's PWR001 is awaited.
        bool gone = false;
        panel.rig.on_events = [&] {
            if (!gone && panel.rig.port.written.value(panel.rig.port.written.size() - 1) == "PWR001")
                gone = true, panel.rig.port.unplug_at = panel.rig.clock.now + 50;
        };
        QProcess* lost = start_ctl(this, panel.folder.path(), {"--port", "/dev/qv-com1", "PWR001"});
        QCOMPARE(outcome(lost), (QStringList{"PWR001", "2"}));
        const QString said = QString::fromLocal8Bit(lost->readAllStandardError());
        QVERIFY2(said.contains("lost /dev/qv-com1: Input/output error") && !said.contains("no ready"), qPrintable(said));

        QVERIFY(outcome(silent) == QStringList{"2"} && silent->readAllStandardError().contains("does not answer"));
        QVERIFY2(silent_ms > 0 && silent_ms < 8000, qPrintable(QString::number(silent_ms)));  // a few seconds
        ::close(deaf);
    }

    // The socket lies in the runtime folder only when that is a private folder of this user; otherwise in a private
    // folder made in the temporary folder, and never anywhere the panel was not told to make.
    void the_socket_lies_only_in_a_private_folder()
    {
        QTemporaryDir tmp, runtime;
        const bool had_tmp = qEnvironmentVariableIsSet("TMPDIR");
        const QByteArray old_tmp = qgetenv("TMPDIR"), old_runtime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        const QString fallback = tmp.filePath("qv742-" + user_tag() + "/qv742-panel.socket");
        const QString missing = runtime.filePath("gone"), cwd = QDir::currentPath();
        QString error;
        QDir::setCurrent(runtime.path());
        const std::tuple<QString, mode_t, QString> cases[] = {
            {runtime.path(), 0700, runtime.filePath("qv742-panel.socket")}, {missing, 0700, fallback},
            {".", 0700, fallback},  // private, but relative
            {QString(), 0700, fallback}, {runtime.path(), 0755, fallback}};  // others may enter
        for (const auto& [folder, mode, expected] : cases) {
            ::chmod(QFile::encodeName(runtime.path()).constData(), mode);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
            QCOMPARE(control_socket_path(true, error), expected);
        }
        QDir::setCurrent(cwd);
        QVERIFY(!QFileInfo::exists(missing));
        had_tmp ? qputenv("TMPDIR", old_tmp) : qunsetenv("TMPDIR");
        qputenv("XDG_RUNTIME_DIR", old_runtime);
    }

    // Another user's files at the panel's name in the shared temporary folder (an open folder, a link to their folder,
    // a file) stop neither a user's panel, nor its second start, nor its scripts: the panel takes a private folder in
    // the user's cache folder. With a runtime folder neither TMPDIR nor USER changes where the panel is.
    void another_users_files_never_stop_a_panel()
    {
        QTemporaryDir shared;  // like /tmp: every user may make names in it
        QVERIFY(::chmod(QFile::encodeName(shared.path()).constData(), 01777) == 0);
        const QByteArray name = QFile::encodeName(shared.filePath("qv742-" + user_tag()));
        const QByteArray theirs = QFile::encodeName(shared.filePath("theirs"));
        const std::function<bool()> puts[] = {
            [] { return true; },  // nothing: the panel uses its runtime folder
            [&] { return ::mkdir(name.constData(), 0777) == 0 && ::chmod(name.constData(), 0777) == 0; },
            [&] { return ::mkdir(theirs.constData(), 0700) == 0 && ::symlink(theirs.constData(), name.constData()) == 0; },
            [&] { return ::close(::open(name.constData(), O_CREAT | O_WRONLY, 0666)) == 0; },
        };
        for (const auto& put : puts) {
            const bool nothing = &put == &puts[0];
            QVERIFY(as_another_user(put));
            const QString before = identity(name);
            SimProcess sim;
            PanelCopy copy;
            copy.runtime_folder = nothing;
            copy.environment = {{"TMPDIR", shared.path()}, {"XDG_CACHE_HOME", copy.dir.filePath("cache")}};
            const auto script_env = copy.environment;
            QProcess& panel = copy.start(sim.link());
            QTRY_COMPARE_WITH_TIMEOUT(sim.received().size(), 9, 15000);  // its start-up exchange

            copy.environment["USER"] = QString();
            if (nothing)
                copy.environment["TMPDIR"] = copy.dir.filePath("tmp");
            QProcess& second = copy.start(sim.link(), "offscreen", QProcess::SeparateChannels);
            QVERIFY(second.waitForFinished(10000));
            const QString said = QString::fromLocal8Bit(second.readAllStandardError());
            QVERIFY2(second.exitCode() == 0 && said.contains("asked to come forward"), qPrintable(said));

            QProcess* script = start_ctl(this, nothing ? copy.dir.filePath("run") : QString(),
                                         {"--port", sim.link(), "VER999"}, script_env);
            QCOMPARE(outcome(script), (QStringList{"VER105", "0"}));
            QCOMPARE(identity(name), before);

            ::kill(static_cast<pid_t>(panel.processId()), SIGTERM);
            QVERIFY(panel.waitForFinished(10000));
            QFile::remove(QFile::decodeName(name)) || QDir(QFile::decodeName(name)).removeRecursively();
            QDir(QFile::decodeName(theirs)).removeRecursively();
        }
    }

    // Another user's process, even one let into the folder, is refused.
    void another_user_is_refused()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to try it as another user (CI runs as root)");
        ServedPanel panel;
        QVERIFY(panel.start());
        ::chmod(QFile::encodeName(panel.folder.path()).constData(), 0711);
        ::chmod(QFile::encodeName(panel.path()).constData(), 0666);
        const int from = panel.rig.sent().size();
        const QByteArray path = QFile::encodeName(panel.path());
        QVERIFY(as_another_user([&] {  // told ERROR
            const int fd = raw_socket(path, true);
            char heard[6] = {};
            pollfd p{fd, POLLIN, 0};
            return fd >= 0 && ::send(fd, "CMD VER999\n", 11, MSG_NOSIGNAL) == 11 && ::poll(&p, 1, 10000) == 1
                && ::read(fd, heard, sizeof heard) == 6 && std::memcmp(heard, "ERROR ", 6) == 0;
        }));
        QCOMPARE(panel.rig.sent_since(from), QStringList());
    }

    void a_second_start_brings_the_panel_forward()
    {
        ServedPanel panel;
        panel.rig.env.open_magnifier = nullptr;  // the real one
        QCOMPARE(start_again(panel), QString("exit 1"));  // a lock, but nobody answering within 5 s
        QVERIFY(panel.start());
        FrmMain& frm = panel.rig.frm();
        frm.enter_tray();
        QVERIFY(start_again(panel).contains("asked to come forward") && frm.isVisible());

        frm.showMinimized();
        // Only a device that differs from the running panel's is named.
        const QString err = start_again(panel, {"--com1", "/dev/ttyUSB7", "--com2", "/dev/qv-com2"});
        QVERIFY2(err.contains("COM1 is /dev/qv-com1, not /dev/ttyUSB7") && !err.contains("COM2"), qPrintable(err));
        QVERIFY(frm.isVisible() && !frm.isMinimized());

        // The magnifier open, the panel hidden behind it on purpose.
        frm.open_magnifier();
        frm.hide_window();
        FrmMag* magnifier = frm.magnifier();
        magnifier->showMinimized();
        QVERIFY(start_again(panel).contains("asked to come forward"));
        QVERIFY(magnifier->isVisible() && !magnifier->isMinimized() && !frm.isVisible());
    }

    void scripts_and_clicks_share_the_box()
    {
        auto sim = std::make_unique<SimProcess>(QStringList{"--reply-delay", "15", "--ready-delay", "100"});
        QTemporaryDir dir;
        QVERIFY(write_file(dir.filePath("QVR_742.ini"), "1,1,0,0,#FALSE#\r\n"));
        SystemParts parts;
        parts.com_devices.set_override(1, sim->link());
        PanelEnvironment env = parts.environment(QStringLiteral(QV742_SOURCE_DIR "/bmp"), dir.filePath("QVR_742.ini"));
        int waited_in_routines = 0;  // event passes of routines with a client's command waiting
        ControlServer* serving = nullptr;
        env.process_events = [&] {
            QCoreApplication::processEvents();
            waited_in_routines += serving && serving->queued() > 0;
        };
        FrmMain frm(env);
        frm.start_up();
        ControlServer server({&frm.panel(), [&](const QString&) { come_forward(frm); }, [&](int com) { return parts.port.device(com); }});
        serving = &server;
        QString error;
        QVERIFY2(server.listen(dir.filePath("qv742-panel.socket"), error), qPrintable(error));
        const auto ctl = [&](const QStringList& args) {
            return start_ctl(this, dir.path(), QStringList{"--port", sim->link()} + args);
        };

        QProcess* listener = ctl({"--listen", "60"});
        QTRY_COMPARE_WITH_TIMEOUT(server.clients(), 1, 10000);
        const QStringList one = {"FRZ001", "SCN001", "PAT000", "FRZ999", "VER999", "NPO001"};
        const QStringList two = {"FMT001", "CON040", "FMT999", "PWR999", "ZOM999", "SHA005"};
        QProcess* script_one = ctl(one + one + one);
        QProcess* script_two = ctl(two + two + two);
        PictureButton* aspect = frm.elements().img_ico[buttons::aspect];
        int clicks = 0;
        while (script_one->state() != QProcess::NotRunning || script_two->state() != QProcess::NotRunning) {
            QTest::mouseClick(aspect, Qt::LeftButton);
            QTest::qWait(10);
            QVERIFY(++clicks < 3000);
        }
        const QStringList one_replies = {"FRZ001", "SCN001", "PAT000", "FRZ001", "VER105", "NPO001"};
        const QStringList two_replies = {"FMT001", "CON040", "FMT001", "PWR001", "ZOM000", "SHA005"};
        QCOMPARE(outcome(script_one), one_replies + one_replies + one_replies << "0");
        QCOMPARE(outcome(script_two), two_replies + two_replies + two_replies << "0");
        QVERIFY(clicks > 3);
        QVERIFY2(waited_in_routines > 0, "no script's command came in the middle of a routine");
        QTRY_VERIFY(strictly_alternating(sim->lines()));
        QCOMPARE(sim->received().count("FRZ001"), 3);

        // The panel shows what the clicks left on the box.
        const QStringList names = {"full", "panscan", "letterbox"};
        const int asked = outcome(ctl({"ASP999"})).value(0).right(3).toInt();
        QCOMPARE(aspect->picture_name(), "1_aspect_" + names.value(asked) + "_0");

        // The listening script heard the box, and ends with the device.
        sim->type("FRZ000");
        QTRY_VERIFY_WITH_TIMEOUT(listener->canReadLine(), 10000);
        QCOMPARE(listener->readLine(), QByteArray("FRZ000\n"));
        sim.reset();
        QTRY_COMPARE_WITH_TIMEOUT(listener->state(), QProcess::NotRunning, 15000);
        QCOMPARE(listener->exitCode(), 2);
        serving = nullptr;
        frm.close();
    }
};

QV_REGISTER_TEST(TestControlServer)
#include "tst_control_server.moc"
