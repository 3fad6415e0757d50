#pragma once
// Helpers shared by the benchmarks: starting the simulator, CPU time, medians.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

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
