#pragma once
// Helpers shared by the benchmarks: starting the simulator, CPU time, medians.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// qv742-sim on a pseudo-terminal for the lifetime of the object.
class BenchSim {
public:
    explicit BenchSim(const QStringList& options)
    {
        link_ = dir_.filePath("com1");
        process_.setProgram(QStringLiteral(QV742_SIM));
        process_.setArguments(QStringList{"--link", link_} + options);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start();
        process_.waitForStarted();
        for (int i = 0; i < 500 && !QFileInfo::exists(link_); ++i)
            QThread::msleep(10);
    }
    ~BenchSim()
    {
        process_.terminate();
        process_.waitForFinished(3000);
    }
    QString link() const { return link_; }

private:
    QTemporaryDir dir_;
    QString link_;
    QProcess process_;
};

inline double cpu_seconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5));
    return v[i];
}

inline void report(const char* name, double value, const char* unit)
{
    std::printf("%s: %.4g %s\n", name, value, unit);
    std::fflush(stdout);
}

// What every thread of process `pid` has had so far: its voluntary context
// switches (each a wake-up after sleeping) and its time on a CPU.
struct ProcessUsage {
    qint64 wakeups = 0;
    qint64 cpu_ns = 0;
};

inline ProcessUsage process_usage(qint64 pid)
{
    ProcessUsage usage;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(tid + "/status"));
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("voluntary_ctxt_switches:"))
                    usage.wakeups += line.mid(24).trimmed().toLongLong();
        QFile schedstat(tasks.filePath(tid + "/schedstat"));
        if (schedstat.open(QIODevice::ReadOnly))
            usage.cpu_ns += schedstat.readAll().split(' ').value(0).toLongLong();
    }
    return usage;
}

inline double now_us()
{
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A box on the master end of a pseudo-terminal, in a thread of its own: it
// answers every six-byte command at once (its mnemonic with "000") and notes
// how long after its reply left the next command's first byte came: the time
// the client took between the two, with the pseudo-terminal's own latency.
class GapBox {
public:
    // `paced`: the reply's bytes leave at the real 9600-baud rate.
    explicit GapBox(bool paced = false) : paced_(paced)
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(master_);
        ::unlockpt(master_);
        slave_ = QString::fromLocal8Bit(::ptsname(master_));
        thread_ = std::thread([this] { run(); });
    }
    ~GapBox()
    {
        stop_ = true;
        thread_.join();
        ::close(master_);
    }
    QString slave() const { return slave_; }
    // The gaps so far, in microseconds; they start afresh.
    std::vector<double> take_gaps()
    {
        stop_ = true;
        thread_.join();
        std::vector<double> out;
        out.swap(gaps_);
        stop_ = false;
        got_ = 0;
        replied_at_ = -1;
        command_.clear();
        thread_ = std::thread([this] { run(); });
        return out;
    }

private:
    void run()
    {
        char buf[64];
        while (!stop_) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) {
                if (p.revents & POLLHUP)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));  // no client yet
                continue;
            }
            const double at = now_us();
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0)
                continue;
            if (got_ == 0 && replied_at_ >= 0)
                gaps_.push_back(at - replied_at_);
            got_ += static_cast<int>(n);
            for (ssize_t i = 0; i < n && command_.size() < 6; ++i)
                command_ += buf[i];
            if (got_ >= 6) {
                got_ = 0;
                const std::string reply = command_.substr(0, 3) + "000";
                command_.clear();
                send(reply);
            }
        }
    }

    void send(const std::string& reply)
    {
        for (size_t i = 0; i < reply.size(); i += paced_ ? 1 : reply.size()) {
            if (paced_ && i > 0)
                std::this_thread::sleep_until(last_byte_ + std::chrono::microseconds(1042));
            last_byte_ = std::chrono::steady_clock::now();
            const size_t n = paced_ ? 1 : reply.size();
            if (::write(master_, reply.data() + i, n) != static_cast<ssize_t>(n))
                return;
        }
        replied_at_ = now_us();
    }

    bool paced_;
    std::chrono::steady_clock::time_point last_byte_;
    int master_ = -1;
    QString slave_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    int got_ = 0;
    double replied_at_ = -1;
    std::string command_;
    std::vector<double> gaps_;
};
