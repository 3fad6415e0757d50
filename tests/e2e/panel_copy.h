#pragma once
// The panel program with its bmp folder, copied into a folder of its own, so
// its settings file, single-instance lock and control socket stay apart from
// everything else (a panel of the user's own session among them).

#include "test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <vector>

class PanelCopy {
public:
    PanelCopy()
    {
        const QString bin = QFileInfo(QStringLiteral(QV742_PANEL)).absolutePath();
        program = dir.filePath("qv742-panel");
        QFile::copy(QStringLiteral(QV742_PANEL), program);
        QDir().mkpath(dir.filePath("bmp"));
        for (const QString& f : QDir(bin + "/bmp").entryList(QDir::Files))
            QFile::copy(bin + "/bmp/" + f, dir.filePath("bmp/" + f));
        QDir().mkpath(dir.filePath("tmp"));
        QDir().mkpath(dir.filePath("run"));
        QFile::setPermissions(dir.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~PanelCopy()
    {
        for (auto& p : processes_) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    // Starts a copy with `link` as COM1 on the Qt platform given; its
    // standard error is forwarded unless the test reads it.
    QProcess& start(const QString& link, const QString& platform = QStringLiteral("offscreen"),
                    QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel)
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", platform);
        env.insert("TMPDIR", dir.filePath("tmp"));
        if (runtime_folder)
            env.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
        else
            env.remove("XDG_RUNTIME_DIR");
        for (const auto& [name, value] : environment)
            value.isNull() ? env.remove(name) : env.insert(name, value);
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(channels);
        p->start(program, {"--com1", link});
        p->waitForStarted();
        processes_.push_back(std::move(p));
        return *processes_.back();
    }

    QByteArray settings() const { return read_file(dir.filePath("QVR_742.ini")); }
    void write_settings(const QByteArray& s) { write_file(dir.filePath("QVR_742.ini"), s); }

    QTemporaryDir dir;
    bool runtime_folder = true;  // false: the session has no XDG_RUNTIME_DIR
    std::map<QString, QString> environment;  // set for the next starts; a null value removes the name
    QString program;

private:
    std::vector<std::unique_ptr<QProcess>> processes_;
};
