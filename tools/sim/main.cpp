// qv742-sim: a simulated QV-742 box on a pseudo-terminal.
// Prints every message it receives ("recv") and sends ("send"), one a line;
// a six-character line typed on standard input is sent as a message of the
// box's own.

#include "box/box_model.h"
#include "platform/standard_output.h"
#include "sim/pty_end.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void on_signal(int)
{
    g_stop = 1;
}

qint64 now_us()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// One write to the line; `label` is printed when it goes out.
struct Outgoing {
    qint64 at_us;
    QByteArray bytes;
    QByteArray label;
};

void schedule(std::deque<Outgoing>& queue, const Emission& e)
{
    if (e.byte_interval_us <= 0) {
        queue.push_back({e.at_us, e.message, e.message});
    } else {
        for (int i = 0; i < e.message.size(); ++i)
            queue.push_back({e.at_us + i * e.byte_interval_us, e.message.mid(i, 1),
                             i == 0 ? e.message : QByteArray()});
    }
    std::stable_sort(queue.begin(), queue.end(),
                     [](const Outgoing& a, const Outgoing& b) { return a.at_us < b.at_us; });
}

// 0, or the error that kept the line from being written.
int say(const char* what, const QByteArray& message)
{
    return print_out(QByteArray(what) + ' ' + message + '\n');
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("qv742-sim");
    QCoreApplication::setApplicationVersion(QStringLiteral(QV742_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A simulated QV-742 scan converter on a pseudo-terminal, for trying the\n"
        "panel and qv742-ctl without hardware. Prints each message received (recv)\n"
        "and sent (send), one a line. A six-character line on standard input is\n"
        "sent as a message of the box's own. Stops on Ctrl+C.\n"
        "Example: qv742-sim --link /tmp/qv/com1, then qv742-panel --com1 /tmp/qv/com1");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption link({"l", "link"},
                                  "Make PATH a symbolic link to the serial end (folders are created; a path in use "
                                  "is refused; the link is removed at exit).",
                                  "PATH");
    const QCommandLineOption off("off", "Start with the box switched off.");
    const QCommandLineOption zoom("zoom", "Start in zoom mode.");
    const QCommandLineOption version("firmware", "Firmware version the box reports (default 105).", "N", "105");
    const QCommandLineOption reply_delay("reply-delay", "Milliseconds before each reply (default 2).", "MS", "2");
    const QCommandLineOption ready_delay("ready-delay", "Milliseconds from a slow command's reply to the ready message (default 400).", "MS", "400");
    const QCommandLineOption paced("paced", "Pace bytes at the real 9600-baud line rate.");
    const QCommandLineOption no_reply("no-reply", "Answer no command (a silent box).");
    const QCommandLineOption no_ready("no-ready", "Never send the ready message.");
    parser.addOptions({link, off, zoom, version, reply_delay, ready_delay, paced, no_reply, no_ready});
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "qv742-sim: %s\n", qPrintable(parser.errorText()));
        return 1;
    }
    // Printed here rather than by the parser, which exits 0 even when the
    // text could not be written.
    const auto print_or_fail = [](const QByteArray& text) {
        const int error = print_out(text);
        return error ? output_failed("qv742-sim", error) : 0;
    };
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        return print_or_fail(parser.helpText().toLocal8Bit());
    if (parser.isSet(QStringLiteral("version")))
        return print_or_fail("qv742-sim " QV742_VERSION "\n");

    BoxConfig config;
    config.power_on = !parser.isSet(off);
    config.zoom_mode = parser.isSet(zoom);
    bool ok_version = false, ok_reply = false, ok_ready = false;
    config.version = parser.value(version).toInt(&ok_version);
    config.reply_delay_ms = parser.value(reply_delay).toInt(&ok_reply);
    config.ready_delay_ms = parser.value(ready_delay).toInt(&ok_ready);
    if (!ok_version || !ok_reply || !ok_ready || config.version < 0 || config.version > 999
        || config.reply_delay_ms < 0 || config.ready_delay_ms < 0) {
        std::fprintf(stderr, "qv742-sim: numbers must be whole and not negative (firmware 0 to 999)\n");
        return 2;
    }
    config.paced = parser.isSet(paced);
    config.answer_commands = !parser.isSet(no_reply);
    config.send_ready = !parser.isSet(no_ready);
    BoxModel box(config);

    const QString link_path = parser.value(link);
    PtyEnd pty;
    QString error;
    if (!pty.open(link_path, error)) {
        std::fprintf(stderr, "qv742-sim: %s\n", qPrintable(error));
        return 2;
    }
    std::fprintf(stderr, "qv742-sim: serial end %s%s%s\n", qPrintable(pty.serial_path()),
                 link_path.isEmpty() ? "" : ", linked as ", qPrintable(link_path));
    std::fflush(stderr);

    on_stop_signals(on_signal);
    // Paced bytes leave on time: the kernel may otherwise wake the loop up to
    // 50 us late, byte after byte.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

    std::deque<Outgoing> queue;
    QByteArray typed;
    bool stdin_open = true;
    int output_error = 0;  // what the report of the traffic met
    while (!g_stop && output_error == 0) {
        // Microsecond timeouts: paced bytes are a millisecond apart.
        timespec timeout{};
        timespec* wait = nullptr;
        if (!queue.empty()) {
            const qint64 left = std::max<qint64>(0, queue.front().at_us - now_us());
            timeout.tv_sec = left / 1'000'000;
            timeout.tv_nsec = (left % 1'000'000) * 1000;
            wait = &timeout;
        }
        pollfd fds[2] = {{pty.fd(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const int n = ::ppoll(fds, stdin_open ? 2 : 1, wait, nullptr);
        if (n < 0)
            continue;  // a signal: the loop condition decides
        if (fds[0].revents & POLLIN) {
            const BoxInput input = box.receive(pty.read_available(), now_us());
            for (const QString& command : input.commands)
                output_error = output_error ? output_error : say("recv", command.toLatin1());
            for (const Emission& e : input.emissions)
                schedule(queue, e);
        }
        if (stdin_open && (fds[1].revents & (POLLIN | POLLHUP))) {
            char buf[256];
            const ssize_t got = ::read(STDIN_FILENO, buf, sizeof buf);
            if (got <= 0) {
                stdin_open = false;
            } else {
                typed.append(buf, got);
                qsizetype eol;
                while ((eol = typed.indexOf('\n')) >= 0) {
                    const QByteArray line = typed.left(eol).trimmed();
                    typed.remove(0, eol + 1);
                    if (line.isEmpty())
                        continue;
                    if (line.size() != 6) {
                        std::fprintf(stderr, "qv742-sim: ignored \"%s\": a message is six characters\n",
                                     line.constData());
                        continue;
                    }
                    schedule(queue, box.announce(QString::fromLatin1(line), now_us()));
                }
            }
        }
        const qint64 now = now_us();
        while (!queue.empty() && queue.front().at_us <= now) {
            const Outgoing out = queue.front();
            queue.pop_front();
            pty.write(out.bytes);
            if (!out.label.isEmpty())
                output_error = output_error ? output_error : say("send", out.label);
        }
    }
    // A report nobody can read any more is not a simulator anyone watches.
    return output_error ? output_failed("qv742-sim", output_error) : 0;
}
