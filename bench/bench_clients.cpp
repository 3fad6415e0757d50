// A command through the running panel against the same command sent
// directly, both on the simulator at the real 9600-baud pace: what a script
// pays for sharing the box with the panel.

#include "app/control_client.h"
#include "bench_support.h"
#include "core/shared_state.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/event_pump.h"
#include "link/system_serial_port.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace {

constexpr int kExchanges = 200;

std::vector<double> direct_ms(const QString& device, const QStringList& commands)
{
    SharedState state;
    SteadyClock clock;
    EventPump pump;
    SystemSerialPort port;
    port.set_device(1, device);
    DeviceLink link(port, clock, pump, state);
    link.set_comm();
    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < kExchanges; ++i) {
        t.start();
        link.tx_cmd(commands[i % commands.size()]);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    link.close_port();
    return ms;
}

std::vector<double> via_panel_ms(ControlClient& client, const QStringList& commands)
{
    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < kExchanges; ++i) {
        t.start();
        client.send("CMD " + commands[i % commands.size()].toLatin1());
        const auto reply = client.next(10000);
        ms.push_back(t.nsecsElapsed() / 1e6);
        if (!reply || reply->word != "REPLY")
            std::fprintf(stderr, "bench_clients: %s\n", qPrintable(client.failure()));
    }
    return ms;
}

// The panel program, copied with its pictures so its settings, lock and
// control socket stay in `dir`.
class PanelProcess {
public:
    PanelProcess(const QTemporaryDir& dir, const QString& device)
    {
        const QString bin = QFileInfo(QStringLiteral(QV742_PANEL)).absolutePath();
        const QString program = dir.filePath("qv742-panel");
        QFile::copy(QStringLiteral(QV742_PANEL), program);
        QDir().mkpath(dir.filePath("bmp"));
        for (const QString& f : QDir(bin + "/bmp").entryList(QDir::Files))
            QFile::copy(bin + "/bmp/" + f, dir.filePath("bmp/" + f));
        QFile settings(dir.filePath("QVR_742.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write("1,1,0,0,#FALSE#\r\n");
        settings.close();
        QDir().mkpath(dir.filePath("run"));
        QFile::setPermissions(dir.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains("DISPLAY") && !env.contains("WAYLAND_DISPLAY"))
            env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TMPDIR", dir.path());
        env.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
        qputenv("XDG_RUNTIME_DIR", dir.filePath("run").toLocal8Bit());  // where this client looks
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(program, {"--com1", device});
        process_.waitForStarted();
    }
    ~PanelProcess()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
    }

private:
    QProcess process_;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchSim sim({"--paced", "--reply-delay", "0"});
    const QStringList query = {"FRZ999"};
    const QStringList setting = {"FRZ001", "FRZ000"};
    const double direct_query = percentile(direct_ms(sim.link(), query), 0.5);
    const double direct_setting = percentile(direct_ms(sim.link(), setting), 0.5);

    QTemporaryDir dir;
    PanelProcess panel(dir, sim.link());
    ControlClient client;
    QString error;
    if (!client.connect_to_panel(20000, error)) {
        std::fprintf(stderr, "bench_clients: no panel: %s\n", qPrintable(error));
        return 1;
    }
    client.send("CMD VER999");  // answered once start-up is over
    client.next(30000);
    const double via_query = percentile(via_panel_ms(client, query), 0.5);
    const double via_setting = percentile(via_panel_ms(client, setting), 0.5);

    report("paced_direct_query_ms", direct_query, "ms");
    report("paced_via_panel_query_ms", via_query, "ms");
    report("via_panel_query_ratio", via_query / direct_query, "x");
    report("paced_direct_setting_ms", direct_setting, "ms");
    report("paced_via_panel_setting_ms", via_setting, "ms");
    report("via_panel_setting_ratio", via_setting / direct_setting, "x");
    return 0;
}
