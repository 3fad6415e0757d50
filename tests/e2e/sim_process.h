#pragma once
// Runs qv742-sim on a pseudo-terminal for an end-to-end test and reads what
// it reports: every message it received and sent.

#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

class SimProcess {
public:
    explicit SimProcess(const QStringList& options = {})
    {
        link_ = dir_.filePath("com1");
        process_.setProgram(QStringLiteral(QV742_SIM));
        process_.setArguments(QStringList{"--link", link_} + options);
        process_.start();
        process_.waitForStarted(5000);
        for (int i = 0; i < 500 && !QFileInfo::exists(link_); ++i)
            QTest::qWait(10);
    }
    ~SimProcess() { stop(); }

    QString link() const { return link_; }
    bool ready() const { return QFileInfo::exists(link_); }

    // Sends a message of the box's own, as typed on its standard input.
    void type(const QByteArray& line) { process_.write(line + "\n"); process_.waitForBytesWritten(1000); }

    // The sim's report so far: "recv XXXXXX" and "send XXXXXX" lines.
    QStringList lines()
    {
        output_ += QString::fromLatin1(process_.readAllStandardOutput());
        return output_.split('\n', Qt::SkipEmptyParts);
    }
    QStringList received()
    {
        QStringList out;
        for (const QString& l : lines())
            if (l.startsWith("recv "))
                out << l.mid(5);
        return out;
    }

    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(1000);
    }

private:
    QTemporaryDir dir_;
    QString link_;
    QProcess process_;
    QString output_;
};
