// The real panel on headless KWin with Plasma's shell (wayland_session.sh
// --desktop kde starts it and runs this program inside). KWin's view of
// its windows comes from KWin scripts that report back over D-Bus, the
// screen from spectacle, the pointer from fake-pointer (KWin's fake input).

#include "desktop_session.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QJsonDocument>

using namespace desktop_test;

namespace {

class FakePointer : public Pointer {
public:
    QString start(const QString& program)
    {
        process_.start(program, {});
        return process_.waitForStarted(5000) && command("move 1 1") ? QString() : "fake-pointer: " + last_;
    }
    ~FakePointer() override
    {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    void move_to(QPoint at) override
    {
        at_ = at;
        command(QStringLiteral("move %1 %2").arg(at.x()).arg(at.y()));
    }
    void button(bool down) override { command(down ? "press" : "release"); }

private:
    // Each line is answered once KWin has taken it.
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
    QString last_;
};

}  // namespace

class TestKde : public DesktopTest {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.qv742.Probe")

    FakePointer pointer_;
    int count_ = 0;
    QHash<int, QJsonObject> answers_;

    // The value of a JavaScript expression in KWin's scripting, as JSON.
    QJsonValue eval(const QString& expression)
    {
        const QString name = QStringLiteral("qv742_probe_%1").arg(++count_);
        QFile script(kSession + "/" + name + ".js");
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
        QDBusInterface("org.kde.KWin", QStringLiteral("/%1").arg(id.value()), "org.kde.kwin.Script").call("run");
        for (int i = 0; i < 100 && !answers_.contains(count_); ++i)
            QTest::qWait(20);
        scripting.call("unloadScript", name);
        return answers_.take(count_).value("v");
    }
    // Runs `statement` on the window (c) of `title`.
    void on_window(const QString& title, const QString& statement)
    {
        eval("workspace.clientList().filter(function (c) { return c.caption === '" + title
             + "'; }).map(function (c) { " + statement + "; return 1; }).length");
    }

public:
    QJsonArray windows() override
    {
        return eval(QStringLiteral(
            "workspace.clientList().map(function (c) { var g = c.frameGeometry; return {title: c.caption, "
            "x: g.x, y: g.y, width: g.width, height: g.height, entry: c.desktopFileName, "
            "minimized: c.minimized}; })")).toArray();
    }
    void move_window(const QString& title, QPoint to) override
    {
        on_window(title, QStringLiteral("c.frameGeometry = {x: %1, y: %2, width: c.frameGeometry.width, "
                                        "height: c.frameGeometry.height}").arg(to.x()).arg(to.y()));
    }
    void minimise(const QString& title) override { on_window(title, "c.minimized = true"); }
    void shoot(const QString& file) override { run("spectacle", {"-b", "-n", "-f", "-o", file}); }
    // As from a terminal: Plasma raises an X11 window for it, and lets a
    // native one raise itself.
    void start_again(const QString& platform) override
    {
        QProcess second;
        second.setProcessEnvironment(PanelRun::environment(platform));
        second.start(panel_program(), {});
        QVERIFY(second.waitForFinished(20000) && second.exitCode() == 0);
    }
    Pointer& pointer() override { return pointer_; }
    bool centres_new_windows() const override { return true; }

public slots:
    void report(const QString& json)
    {
        const QJsonObject answer = QJsonDocument::fromJson(json.toUtf8()).object();
        answers_.insert(answer["id"].toInt(), answer);
    }

private slots:
    void initTestCase()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY2(bus.registerService("org.qv742.Probe") && bus.registerObject("/", this, QDBusConnection::ExportAllSlots),
                 "the probe could not take its name on the session bus");
        const QString error = pointer_.start(kSession + "/bin/fake-pointer");
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(pattern(kDesktopScreen).save(kSession + "/pattern.png"));
        QDBusInterface("org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell")
            .call("evaluateScript", "desktops().forEach(function (d) { d.wallpaperPlugin = 'org.kde.image';"
                                    " d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];"
                                    " d.writeConfig('FillMode', 0);"
                                    " d.writeConfig('Image', 'file://" + kSession + "/pattern.png'); });");
        QTRY_VERIFY2_WITH_TIMEOUT(screen().pixel(500, 300) == pattern_colour(500, 300),
                                  "the desktop pattern did not appear (plasmashell)", 20000);
    }
};

QTEST_GUILESS_MAIN(TestKde)

#include "tst_kde_e2e.moc"
