#pragma once
// Runs qv742-sim on a pseudo-terminal for an end-to-end test and reads what
// it reports: every message it received and sent. It can be killed outright,
// as when an adapter is pulled out, and started again on the same link path.

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

#ifndef QV742_SIM
#define QV742_SIM ""  // the desktop sessions name their copy in the environment
#endif

class SimProcess {
public:
    // `link`: where its serial end appears; empty: a folder of its own.
    explicit SimProcess(const QStringList& options = {}, const QString& link = {})
        : link_(link.isEmpty() ? dir_.filePath("com1") : link), options_(options)
    {
#ifdef Q_OS_LINUX
        // Ends with the test even when the test is killed (a time-out).
        process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
        start();
    }
    ~SimProcess() { stop(); }

    QString link() const { return link_; }
    bool ready() const { return QFileInfo::exists(link_); }
    qint64 pid() const { return process_.processId(); }

    bool start()
    {
        if (process_.state() != QProcess::NotRunning)
            process_.waitForFinished(5000);  // killed from elsewhere
        process_.readAllStandardOutput();    // and its last words
        output_.clear();
        QFile::remove(link_);
        const QString program = qEnvironmentVariable("QV742_SIM", QStringLiteral(QV742_SIM));
        process_.start(program, QStringList{"--link", link_} + options_);
        process_.waitForStarted(10000);
        for (int i = 0; i < 1000 && !ready(); ++i)
            QThread::msleep(10);
        return ready();
    }

    // Sends a message of the box's own, as typed on its standard input.
    void type(const QByteArray& line) { process_.write(line + "\n"); process_.waitForBytesWritten(1000); }

    // The sim's report so far: "recv XXXXXX" and "send XXXXXX" lines.
    QStringList lines()
    {
        output_ += QString::fromLatin1(process_.readAllStandardOutput());
        return output_.split('\n', Qt::SkipEmptyParts);
    }
    QStringList received() { return lines().filter(QRegularExpression("^recv ")).replaceInStrings("recv ", ""); }

    // At once: as when the adapter is pulled out, the device and its name go.
    void stop(bool at_once = false)
    {
        if (process_.state() != QProcess::NotRunning) {
            at_once ? process_.kill() : process_.terminate();
            if (!process_.waitForFinished(3000))
                process_.kill();
            process_.waitForFinished(1000);
        }
        if (at_once)
            QFile::remove(link_);
    }

private:
    QTemporaryDir dir_;
    QString link_;
    QStringList options_;
    QProcess process_;
    QString output_;
};
