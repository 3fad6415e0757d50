// Device link against qv742-sim on a pseudo-terminal: exchange latency
// against a bare termios loop, the paced 9600-baud exchange, the time from a
// reply to the next command against the same loop's, and the CPU cost of
// waiting.

#include "bench_support.h"
#include "core/shared_state.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/event_pump.h"
#include "link/system_serial_port.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kExchanges = 1000;

struct Link {
    explicit Link(const QString& device)
    {
        port.set_device(1, device);
        link.set_comm();
    }
    SharedState state;
    SteadyClock clock;
    EventPump pump;
    SystemSerialPort port;
    DeviceLink link{port, clock, pump, state};
};

std::vector<double> link_exchanges(const QString& device, int count)
{
    Link l(device);
    std::vector<double> us;
    QElapsedTimer t;
    for (int i = 0; i < count; ++i) {
        t.start();
        const Reply reply = l.link.tx_cmd("PWR999");
        us.push_back(t.nsecsElapsed() / 1000.0);
        if (reply.text != "PWR001")
            std::fprintf(stderr, "bench_link: unexpected reply %s\n", qPrintable(reply.text));
    }
    return us;
}

// The least a program can do: flush, write six bytes, read six bytes.
std::vector<double> raw_exchanges(const QString& device, int count)
{
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B9600);
    ::tcsetattr(fd, TCSANOW, &tio);
    std::vector<double> us;
    QElapsedTimer t;
    char buf[64];
    for (int i = 0; i < count; ++i) {
        t.start();
        ::tcflush(fd, TCIFLUSH);
        if (::write(fd, "PWR999", 6) != 6)
            break;
        int got = 0;
        while (got < 6) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 300) <= 0)
                break;
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            got += static_cast<int>(n);
        }
        us.push_back(t.nsecsElapsed() / 1000.0);
    }
    ::close(fd);
    return us;
}

// Between a reply and the next command: the device link against a client
// that only writes and reads, both against the same box.
std::pair<double, double> reply_to_command_gaps_us(int count, bool paced)
{
    GapBox box(paced);
    {
        Link l(box.slave());
        for (int i = 0; i < count; ++i)
            l.link.tx_cmd("PWR999");
    }
    const double link_us = percentile(box.take_gaps(), 0.5);
    raw_exchanges(box.slave(), count);
    return {link_us, percentile(box.take_gaps(), 0.5)};
}

double ready_wait_cpu(const QString& device)
{
    Link l(device);
    const double before = cpu_seconds();
    l.link.rx_rdy();
    return cpu_seconds() - before;
}

// CPU seconds of `seconds` of a 10 ms timer running `tick`.
template <typename Tick>
double ticking_cpu(int seconds, Tick tick)
{
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, tick);
    poll.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    const double before = cpu_seconds();
    loop.exec();
    return cpu_seconds() - before;
}

double idle_poll_cpu(const QString& device, int seconds)
{
    Link l(device);
    return ticking_cpu(seconds, [&] { l.link.poll_tick(nullptr); });
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    {
        BenchSim sim({"--reply-delay", "0"});
        link_exchanges(sim.link(), 50);  // warm up
        const auto via_link = link_exchanges(sim.link(), kExchanges);
        const auto raw = raw_exchanges(sim.link(), kExchanges);
        const double median = percentile(via_link, 0.5);
        const double raw_median = percentile(raw, 0.5);
        report("exchange_median_us", median, "us");
        report("exchange_p99_us", percentile(via_link, 0.99), "us");
        report("raw_exchange_median_us", raw_median, "us");
        report("exchange_ratio", median / raw_median, "x");
    }
    {
        BenchSim sim({"--reply-delay", "0", "--paced"});
        const auto paced = link_exchanges(sim.link(), 200);
        const double ms = percentile(paced, 0.5) / 1000.0;
        report("paced_exchange_ms", ms, "ms");
        report("paced_overhead_pct", (ms - 12.5) / 12.5 * 100.0, "%");
        const double raw_ms = percentile(raw_exchanges(sim.link(), 200), 0.5) / 1000.0;
        report("raw_paced_overhead_pct", (raw_ms - 12.5) / 12.5 * 100.0, "%");
    }
    {
        // As a share of one exchange's wire time: twelve bytes at 9600 baud.
        const auto [link_us, raw_us] = reply_to_command_gaps_us(kExchanges, false);
        report("reply_to_command_us", link_us, "us");
        report("reply_to_command_pct", link_us / 12500.0 * 100.0, "%");
        report("raw_reply_to_command_us", raw_us, "us");
        report("raw_reply_to_command_pct", raw_us / 12500.0 * 100.0, "%");
        const auto [paced_link_us, paced_raw_us] = reply_to_command_gaps_us(200, true);
        report("paced_reply_to_command_us", paced_link_us, "us");
        report("paced_raw_reply_to_command_us", paced_raw_us, "us");
    }
    {
        BenchSim sim({"--no-ready"});
        report("ready_wait_cpu_s", ready_wait_cpu(sim.link()), "s");
        report("idle_poll_cpu_s", idle_poll_cpu(sim.link(), 10), "s");
        // What the platform charges for waking up every 10 ms at all.
        report("idle_timer_baseline_cpu_s", ticking_cpu(10, [] {}), "s");
    }
    return 0;
}
