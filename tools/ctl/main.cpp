// qv742-ctl: send commands to the box and print its replies, under the same
// time limits as the panel. One line per command: the reply, or NONE.
// Exit status 1 when any reply is NONE, 2 on a usage, port or output error.

#include "core/shared_state.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/event_pump.h"
#include "link/link_observer.h"
#include "link/protocol.h"
#include "link/system_device_list.h"
#include "link/system_serial_port.h"
#include "platform/standard_output.h"
#include "via_panel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

class CtlObserver : public LinkObserver {
public:
    void port_failed(int, const QString& reason) override { failure = reason; }
    void port_lost(int, const QString& reason) override { lost = reason; }
    QString failure;
    QString lost;
};

// Longest --listen: about 11.5 days, well inside the waits' millisecond range.
constexpr double kMaxListenSeconds = 1'000'000;

int usage_error(const QString& text)
{
    std::fprintf(stderr, "qv742-ctl: %s\nTry 'qv742-ctl --help'.\n", qPrintable(text));
    return 2;
}

// Prints `text`; the exit status when that failed.
std::optional<int> print_or_fail(const QString& text)
{
    if (const int e = print_out(text.toLocal8Bit()))
        return output_failed("qv742-ctl", e);
    return std::nullopt;
}

// One device a line: path, stable name ("-" when none), description.
int list_devices()
{
    SystemDeviceList list;
    for (const SerialDeviceInfo& d : list.devices()) {
        QString what = d.description;
        if (!d.manufacturer.isEmpty())
            what += (what.isEmpty() ? QString() : QStringLiteral(", ")) + d.manufacturer;
        const QString line = d.path + '\t' + (d.stable_name.isEmpty() ? QStringLiteral("-") : d.stable_name) + '\t'
            + (what.isEmpty() ? QStringLiteral("-") : what) + '\n';
        if (const auto failed = print_or_fail(line))
            return *failed;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("qv742-ctl");
    QCoreApplication::setApplicationVersion(QStringLiteral(QV742_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Send six-character commands to a QV-742 box and print one reply a line\n"
        "(NONE when no complete reply came within the time limits). Commands that\n"
        "make the box busy wait for its ready message before the next one.\n"
        "While a panel of yours uses the device, the commands go through it.\n"
        "Example: qv742-ctl --port /dev/ttyUSB0 VER999 PWR999\n"
        "--list prints the serial devices present, one a line: path, stable name\n"
        "(- when none) and description, separated by tabs.\n"
        "Exit status: 0 all replies came, 1 a reply was NONE, 2 usage, port or output\n"
        "error, or the panel that uses the device lost it, refused or does not answer.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port_opt({"p", "port"}, "Serial device of the box, e.g. /dev/ttyS0 or /dev/ttyUSB0 (required).", "DEVICE");
    const QCommandLineOption listen_opt(
        "listen", "Afterwards print, for SECONDS (0 to 1000000), the messages the box sends on its own.",
        "SECONDS");
    const QCommandLineOption list_opt("list", "Print the serial devices present and exit.");
    parser.addOptions({port_opt, listen_opt, list_opt});
    parser.addPositionalArgument("CMD", "Command: three letters and three digits, e.g. PWR001, ASP999.", "[CMD...]");
    // Usage errors exit with 2 like every other one; process() alone would
    // exit with 1, which means a missing reply.
    if (!parser.parse(QCoreApplication::arguments()))
        return usage_error(parser.errorText());
    // Printed here rather than by the parser, which exits 0 even when the
    // text could not be written.
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))
        return print_or_fail(parser.helpText()).value_or(0);
    if (parser.isSet(QStringLiteral("version")))
        return print_or_fail(QStringLiteral("qv742-ctl " QV742_VERSION "\n")).value_or(0);

    if (parser.isSet(list_opt)) {
        if (parser.isSet(port_opt) || parser.isSet(listen_opt) || !parser.positionalArguments().isEmpty())
            return usage_error("--list takes nothing else");
        return list_devices();
    }
    if (!parser.isSet(port_opt))
        return usage_error("no serial device given (--port DEVICE)");
    double listen_secs = 0;
    if (parser.isSet(listen_opt)) {
        bool ok = false;
        listen_secs = parser.value(listen_opt).toDouble(&ok);
        // Also refuses inf and nan, whose comparisons are false.
        if (!ok || !(listen_secs >= 0 && listen_secs <= kMaxListenSeconds))
            return usage_error("--listen takes a number of seconds from 0 to 1000000");
    }
    QStringList commands;
    static const QRegularExpression form(QStringLiteral("^[A-Za-z]{3}[0-9]{3}$"));
    for (const QString& arg : parser.positionalArguments()) {
        if (!form.match(arg).hasMatch())
            return usage_error(QStringLiteral("\"%1\" is not a command: three letters and three digits, e.g. PWR999").arg(arg));
        commands << arg.toUpper();
    }
    if (commands.isEmpty() && !parser.isSet(listen_opt))
        return usage_error("nothing to do: give commands or --listen SECONDS");

    if (const auto status = run_through_panel(parser.value(port_opt), commands, parser.isSet(listen_opt), listen_secs))
        return *status;

    SharedState state;
    SteadyClock clock;
    CtlObserver observer;
    SystemSerialPort port;
    port.set_device(1, parser.value(port_opt));
    EventPump pump;
    DeviceLink link(port, clock, pump, state);
    link.add_observer(observer);
    const QString& lost = observer.lost;
    state.com_port = 1;
    link.set_comm();
    if (!state.port_open) {
        std::fprintf(stderr, "qv742-ctl: cannot open %s: %s\n", qPrintable(parser.value(port_opt)),
                     qPrintable(observer.failure));
        return 2;
    }

    int status = 0;
    for (const QString& command : commands) {
        const Reply reply = link.tx_cmd(command);
        if (const auto failed = print_or_fail(reply.text + '\n'))
            return *failed;
        if (!reply.answered()) {
            status = 1;
        } else if (protocol::expects_ready(command)) {
            // Wait for the box to finish, as the panel does, so the ready
            // message cannot be taken for the next command's reply.
            if (!link.rx_rdy().answered() && lost.isEmpty())
                std::fprintf(stderr, "qv742-ctl: no ready message within 5 s after %s\n", qPrintable(command));
        }
        if (!lost.isEmpty())
            break;
    }

    const qint64 end = clock.now_ms() + static_cast<qint64>(listen_secs * 1000);
    while (lost.isEmpty() && clock.now_ms() < end) {
        const qint64 left = std::min<qint64>(end - clock.now_ms(), std::numeric_limits<int>::max());
        if (port.bytes_waiting() == 0 && !port.wait_readable(static_cast<int>(left)))
            continue;
        if (const auto failed = print_or_fail(link.rx_cmd_tim().text + '\n'))
            return *failed;
    }
    if (!lost.isEmpty()) {
        std::fprintf(stderr, "qv742-ctl: lost %s: %s\n", qPrintable(parser.value(port_opt)), qPrintable(lost));
        return 2;
    }
    link.close_port();
    return status;
}
