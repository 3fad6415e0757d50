#pragma once
// KWin as the test sees it: its windows, read by a KWin script that reports
// back over D-Bus; the screen, through spectacle; and the pointer, through
// fake-pointer, KWin's fake-input protocol.

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>
#include <optional>

class KWinProbe : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.qv742.Probe")
public:
    bool connect_to_bus()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        return bus.registerService("org.qv742.Probe") && bus.registerObject("/", this, QDBusConnection::ExportAllSlots);
    }

    // The value of a JavaScript expression in KWin's scripting, as JSON.
    QJsonValue eval(const QString& expression)
    {
        const QString name = QStringLiteral("qv742_probe_%1").arg(++count_);
        QFile script(QStringLiteral("/tmp/session/%1.js").arg(name));
        if (!script.open(QIODevice::WriteOnly))
            return {};
        script.write(QStringLiteral("callDBus('org.qv742.Probe', '/', 'org.qv742.Probe', 'report', "
                                    "JSON.stringify({id: %1, v: (function () { return %2; })()}));")
                         .arg(count_).arg(expression).toUtf8());
        script.close();
        QDBusInterface scripting("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting");
        const QDBusReply<int> id = scripting.call("loadScript", script.fileName(), name);
        if (!id.isValid())
            return {};
        QDBusInterface("org.kde.KWin", QStringLiteral("/%1").arg(id.value()), "org.kde.kwin.Script")
            .call("run");
        for (int i = 0; i < 100 && !answers_.contains(count_); ++i)
            QTest::qWait(20);
        scripting.call("unloadScript", name);
        return answers_.take(count_).value("v");
    }

    // A window as KWin has it, by its title.
    std::optional<QJsonObject> window(const QString& title)
    {
        const QJsonArray all = eval(QStringLiteral(
            "workspace.clientList().map(function (c) { var g = c.frameGeometry; return {title: c.caption, "
            "x: g.x, y: g.y, width: g.width, height: g.height, desktopFile: c.desktopFileName, "
            "minimized: c.minimized}; })"))
                                   .toArray();
        for (const QJsonValue& w : all)
            if (w["title"].toString() == title)
                return w.toObject();
        return std::nullopt;
    }

    QRect rect(const QString& title)
    {
        const auto w = window(title);
        return w ? QRect((*w)["x"].toInt(), (*w)["y"].toInt(), (*w)["width"].toInt(), (*w)["height"].toInt()) : QRect();
    }

    // Sets a property of the window of `title` ("minimized = true").
    void set(const QString& title, const QString& assignment)
    {
        eval(QStringLiteral("workspace.clientList().filter(function (c) { return c.caption === '%1'; })"
                            ".map(function (c) { c.%2; return 1; }).length")
                 .arg(title, assignment));
    }

public slots:
    void report(const QString& json)
    {
        const QJsonObject answer = QJsonDocument::fromJson(json.toUtf8()).object();
        answers_.insert(answer["id"].toInt(), answer);
    }

private:
    int count_ = 0;
    QHash<int, QJsonObject> answers_;
};

// The pointer through fake-pointer (tests/e2e/desktops/fake_pointer.cpp).
class FakePointer {
public:
    QString start(const QString& program)
    {
        process_.start(program, {});
        if (!process_.waitForStarted(5000))
            return "fake-pointer did not start";
        return command("move 1 1") ? QString() : "fake-pointer: " + last_;
    }
    ~FakePointer()
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }

    bool move_to(QPoint at) { at_ = at; return command(QStringLiteral("move %1 %2").arg(at.x()).arg(at.y())); }
    // Moves as a hand does, through the points on the way.
    void glide_to(QPoint at, int step_ms = 15)
    {
        const QPoint from = at_;
        for (int i = 1; i <= 10; ++i) {
            move_to(from + (at - from) * i / 10);
            QTest::qWait(step_ms);
        }
    }
    void click(QPoint at) { drag(at, {}); }
    void drag(QPoint from, QPoint by)
    {
        glide_to(from);
        QTest::qWait(150);
        command("press");
        QTest::qWait(150);
        if (!by.isNull()) {
            glide_to(from + by, 40);
            QTest::qWait(150);
        }
        command("release");
    }

private:
    bool command(const QString& line)
    {
        process_.write(line.toUtf8() + '\n');
        process_.waitForBytesWritten(2000);
        for (int i = 0; i < 100 && !process_.canReadLine(); ++i)
            process_.waitForReadyRead(50);
        last_ = QString::fromUtf8(process_.readLine()).trimmed();
        return last_ == QLatin1String("ok");
    }

    QProcess process_;
    QPoint at_;
    QString last_;
};
