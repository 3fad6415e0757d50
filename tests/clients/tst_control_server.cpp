// The panel's control socket on the real panel window, on virtual time:
// commands wait for the panel's own routines, answers come in order, and bad
// clients are told and dropped while the panel goes on serving.

#include "link/protocol.h"
#include "panel/press_dispatch.h"
#include "served_panel.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QStringList kModeQueries = {"ASP999", "SCN999", "FMT999", "FRZ999", "NPO999", "PAT999", "ZOM999"};

// A bare connection, for clients Qt would not let us be: one that never
// reads, one that binds a socket and dies.
int raw_socket(const QString& path, bool connect_it)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path - 1);
    const auto* a = reinterpret_cast<const sockaddr*>(&addr);
    if ((connect_it ? ::connect(fd, a, sizeof addr) : ::bind(fd, a, sizeof addr)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

class TestControlServer : public QObject {
    Q_OBJECT
private slots:
    void a_command_waits_for_the_routine_it_arrives_in()
    {
        BoxConfig off;
        off.power_on = false;
        ServedPanel panel(off);
        QVERIFY2(panel.start(), qPrintable(panel.error));
        TestClient script(panel.path());
        script.say("CMD FRZ001");
        // The power button's routine runs window events between its
        // exchanges: the command arrives there and must wait.
        const int from = panel.rig.sent().size();
        button_released(panel.rig.p(), 26);
        QCOMPARE(panel.rig.sent_since(from), QStringList{"PWR001"} + kModeQueries);
        QCOMPARE(panel.server->queued(), 1);
        QCOMPARE(script.line(), QByteArray("REPLY FRZ001"));
        QCOMPARE(panel.rig.sent_since(from).last(), QString("FRZ001"));
        QCOMPARE(panel.rig.picture(14), QString("1_freeze_on_0"));
    }

    void answers_in_order_and_follows_the_box()
    {
        ServedPanel panel;
        QVERIFY(panel.start());
        TestClient script(panel.path());
        QCOMPARE(script.ask("DEVICE"), QByteArray("DEVICE /dev/qv-test-com1"));
        QCOMPARE(script.ask("DEVICE 2"), QByteArray("DEVICE /dev/qv-test-com2"));
        QCOMPARE(script.ask("LISTEN"), QByteArray("OK"));
        // Requests written together are answered in their order.
        script.say("CMD PWR001\nCMD VER999\nDEVICE");
        QCOMPARE(script.line(), QByteArray("REPLY PWR001"));
        QCOMPARE(script.line(), QByteArray("READY RDY000"));
        QCOMPARE(script.line(), QByteArray("REPLY VER105"));
        QCOMPARE(script.line(), QByteArray("DEVICE /dev/qv-test-com1"));
        // More than the socket's read buffer at once: none is lost.
        script.say(QByteArray("CMD VER999\n").repeated(500) + "DEVICE 1");
        for (int i = 0; i < 500; ++i)
            QCOMPARE(script.line(), QByteArray("REPLY VER105"));
        QCOMPARE(script.line(), QByteArray("DEVICE /dev/qv-test-com1"));
        panel.rig.box_says("SCN001");
        QCOMPARE(script.line(), QByteArray("MSG SCN001"));
        QCOMPARE(panel.rig.picture(9), QString("1_scan_over_0"));
        QCOMPARE(panel.rig.link().receive_log().text().count("RDY000"), 1);

        // The port goes: a client that asked for the device hears it.
        panel.rig.port.unplug(QStringLiteral("Input/output error"));
        QCOMPARE(script.line(), QByteArray("LOST Input/output error"));
        QVERIFY(script.closed());
    }

    void bad_clients_are_told_and_dropped()
    {
        ServedPanel panel;
        QVERIFY(panel.start());
        TestClient good(panel.path());
        QCOMPARE(good.ask("DEVICE"), QByteArray("DEVICE /dev/qv-test-com1"));

        TestClient unknown(panel.path());
        QVERIFY(unknown.ask("HELLO").startsWith("ERROR "));
        QVERIFY(unknown.closed());

        // A megabyte without a line end: refused after the first 65 bytes.
        const int flood = raw_socket(panel.path(), true);
        ::fcntl(flood, F_SETFL, O_NONBLOCK);
        const QByteArray megabyte(1024 * 1024, 'A');
        qint64 flooded = 0;
        for (int i = 0; i < 5000 && flooded < megabyte.size(); ++i) {
            const ssize_t n = ::send(flood, megabyte.constData() + flooded, megabyte.size() - flooded, MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN)
                break;  // the panel has closed it
            flooded += n > 0 ? n : 0;
            QTest::qWait(1);
        }
        QByteArray told(256, 0);
        told.resize(std::max<ssize_t>(0, ::recv(flood, told.data(), told.size(), 0)));
        ::close(flood);
        QVERIFY2(told.startsWith("ERROR "), told.constData());

        // One that asks and asks but never reads its answers.
        QTRY_COMPARE(panel.server->clients(), 1);
        const int deaf = raw_socket(panel.path(), true);
        QVERIFY(deaf >= 0);
        QTRY_COMPARE(panel.server->clients(), 2);
        ::fcntl(deaf, F_SETFL, O_NONBLOCK);
        const QByteArray requests = QByteArray("DEVICE\n").repeated(1000);
        qint64 written = 0;
        for (int i = 0; i < 5000 && panel.server->clients() > 1; ++i) {
            const ssize_t n = ::send(deaf, requests.constData(), requests.size(), MSG_NOSIGNAL);
            written += n > 0 ? n : 0;
            QTest::qWait(1);
        }
        QCOMPARE(panel.server->clients(), 1);  // the good one
        QVERIFY(written < 10 * 1024 * 1024);
        ::close(deaf);

        // Too many at once: the next one is told so.
        std::vector<std::unique_ptr<TestClient>> crowd;
        for (int i = 1; i < ControlServer::kMaxClients; ++i) {
            crowd.push_back(std::make_unique<TestClient>(panel.path()));
            QCOMPARE(crowd.back()->ask("DEVICE 1"), QByteArray("DEVICE /dev/qv-test-com1"));
        }
        TestClient one_more(panel.path());
        QVERIFY(one_more.line().startsWith("ERROR "));
        QVERIFY(one_more.closed());

        // One that leaves with its command still waiting: nothing is owed.
        TestClient gone(panel.path());
        gone.say("CMD ASP002");
        gone.socket.abort();
        crowd.clear();
        QCOMPARE(good.ask("CMD VER999"), QByteArray("REPLY VER105"));
        QTRY_COMPARE(panel.server->clients(), 1);
    }

    void a_socket_left_behind_is_replaced_a_live_one_is_not()
    {
        QTemporaryDir dir;
        const QString stale = dir.filePath("stale.socket");
        const int dead = raw_socket(stale, false);  // bound, never listened: what a killed panel leaves
        QVERIFY(dead >= 0);
        ::close(dead);
        QVERIFY(QFileInfo::exists(stale));
        ServedPanel panel;
        panel.rig.start();
        ControlServer server({&panel.rig.p(), [] {}, [](int) { return QString("/dev/x"); }});
        QString error;
        QVERIFY2(server.listen(stale, error), qPrintable(error));
        TestClient client(stale);
        QCOMPARE(client.ask("DEVICE 1"), QByteArray("DEVICE /dev/x"));
        QCOMPARE(QFileInfo(stale).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther
                                                   | QFile::WriteOther),
                 QFile::Permissions());

        ControlServer second({&panel.rig.p(), [] {}, [](int) { return QString(); }});
        QVERIFY(!second.listen(stale, error));
        QVERIFY(error.contains("already answers"));
        TestClient still(stale);
        QCOMPARE(still.ask("DEVICE 1"), QByteArray("DEVICE /dev/x"));
    }

    // Another user's process, even one let into the folder, is refused.
    void another_user_is_refused()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to try it as another user (CI runs as root)");
        ServedPanel panel;
        QVERIFY(panel.start());
        QFile::setPermissions(panel.folder.path(), QFile::ExeOwner | QFile::ReadOwner | QFile::WriteOwner
                                                       | QFile::ExeOther | QFile::ExeGroup);
        QFile::setPermissions(panel.path(), QFile::Permissions(0x6666));
        const int from = panel.rig.sent().size();
        int pipe_fds[2];
        QVERIFY(::pipe(pipe_fds) == 0);
        const QByteArray path = QFile::encodeName(panel.path());
        const pid_t child = ::fork();
        if (child == 0) {
            // Only system calls from here: this is a copy of a threaded process.
            ::close(pipe_fds[0]);
            const gid_t nogroup = 65534;
            if (::setgroups(1, &nogroup) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un addr{};
            addr.sun_family = AF_UNIX;
            std::memcpy(addr.sun_path, path.constData(), std::min<size_t>(path.size(), sizeof addr.sun_path - 1));
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
                ::_exit(4);
            const char request[] = "CMD VER999\n";
            ::send(fd, request, sizeof request - 1, MSG_NOSIGNAL);
            char buf[128];
            pollfd p{fd, POLLIN, 0};
            const ssize_t n = ::poll(&p, 1, 10000) == 1 ? ::read(fd, buf, sizeof buf) : 0;
            if (n > 0)
                [[maybe_unused]] const ssize_t w = ::write(pipe_fds[1], buf, static_cast<size_t>(n));
            ::_exit(0);
        }
        ::close(pipe_fds[1]);
        ::fcntl(pipe_fds[0], F_SETFL, O_NONBLOCK);
        QByteArray heard;
        int status = -1;
        for (int i = 0; i < 5000; ++i) {
            char buf[128];
            const ssize_t n = ::read(pipe_fds[0], buf, sizeof buf);
            if (n > 0)
                heard.append(buf, n);
            if (::waitpid(child, &status, WNOHANG) == child)
                break;
            QTest::qWait(2);
        }
        char rest[128];
        for (ssize_t n; (n = ::read(pipe_fds[0], rest, sizeof rest)) > 0;)
            heard.append(rest, n);
        ::close(pipe_fds[0]);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY2(heard.startsWith("ERROR "), heard.constData());
        QTest::qWait(50);
        QCOMPARE(panel.rig.sent_since(from), QStringList());
    }
};

QV_REGISTER_TEST(TestControlServer)
#include "tst_control_server.moc"
