// The panel window: start-up time against a minimal Qt program, building the
// outline, the memory and the wake-ups of the idle panel, how soon it acts on
// a message of the box's own, and the receive monitor's cost per entry with a
// full log.

#include "app/system_parts.h"
#include "bench_support.h"
#include "link/receive_log.h"
#include "monitor/frm_rx.h"
#include "panel/state_sync.h"
#include "platform/system_desktop.h"
#include "window/outline.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Both programs run on the same platform: the display when there is one
// (xvfb-run gives one), else offscreen.
// A desktop keeps the runtime folder (lock, control socket) in memory
// (/run/user); so does the benchmark, where it can.
QString runtime_folder_template()
{
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/qv742-bench-XXXXXX") : QString();
}

QProcessEnvironment program_env(const QString& tmp, const QString& bus, const QString& runtime = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (bus.isEmpty())
        env.remove("DBUS_SESSION_BUS_ADDRESS");
    else
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus);
    if (!env.contains("DISPLAY") && !env.contains("WAYLAND_DISPLAY"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TMPDIR", tmp);
    // its lock and control socket apart from a panel the user runs
    env.insert("XDG_RUNTIME_DIR", runtime.isEmpty() ? tmp : runtime);
    return env;
}

// Milliseconds from starting `program` until `done` says its output is complete.
template <typename Done>
double time_until(QProcess& watched, Done done, int timeout_ms = 20000)
{
    QElapsedTimer t;
    t.start();
    QByteArray seen;
    while (t.elapsed() < timeout_ms) {
        watched.waitForReadyRead(5);
        seen += watched.readAllStandardOutput();
        if (done(seen))
            return t.nsecsElapsed() / 1e6;
    }
    return -1;
}

// The panel's settings file in `dir`: skin 1, COM1, top left, not on top.
QString write_settings(const QTemporaryDir& dir)
{
    QFile settings(dir.filePath("QVR_742.ini"));
    settings.open(QIODevice::WriteOnly);
    settings.write("1,1,0,0,#FALSE#\r\n");
    return settings.fileName();
}

// A copy of the panel with its bmp folder, so its settings stay apart.
QString copy_panel(const QTemporaryDir& dir)
{
    const QString bin = QFileInfo(QStringLiteral(QV742_PANEL)).absolutePath();
    const QString program = dir.filePath("qv742-panel");
    QFile::copy(QStringLiteral(QV742_PANEL), program);
    QDir().mkpath(dir.filePath("bmp"));
    QDir().mkpath(dir.filePath("tmp"));
    QFile::setPermissions(dir.filePath("tmp"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QString& f : QDir(bin + "/bmp").entryList(QDir::Files))
        QFile::copy(bin + "/bmp/" + f, dir.filePath("bmp/" + f));
    write_settings(dir);
    return program;
}

double rss_mb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

template <typename F>
double median_ms(int runs, F f)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return percentile(ms, 0.5);
}

QImage random_shapes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QRandomGenerator random(742);
    for (int i = 0; i < 400; ++i) {
        p.setBrush(QColor::fromRgb(random.bounded(0x1000000)));
        p.setPen(Qt::NoPen);
        const QRect r(random.bounded(w), random.bounded(h), random.bounded(400), random.bounded(400));
        if (i % 2)
            p.drawEllipse(r);
        else
            p.drawRect(r);
    }
    return image;
}

// Between a reply and the next command inside one of the panel's routines
// (the queries after the box switched on): the real panel, shown, with its
// receive monitor following every entry, against a box that answers at once.
double panel_reply_to_command_us(int rounds)
{
    GapBox box;
    QTemporaryDir dir;
    const QString settings = write_settings(dir);
    SystemParts parts;
    parts.com_devices.set_override(1, box.slave());
    FrmMain panel(parts.environment(QStringLiteral(QV742_SOURCE_DIR "/bmp"), settings));
    panel.start_up();
    box.take_gaps();  // start-up apart
    for (int i = 0; i < rounds; ++i) {
        const RoutineScope routine(panel.link().routines());  // as the routine after power-on holds it
        query_states(panel.panel());
    }
    const double us = percentile(box.take_gaps(), 0.5);
    panel.close();
    return us;
}

// COM1 of the panel is `path`.
void use_device(SystemParts& parts, const QString& path)
{
    parts.com_devices.set_override(1, path);
}

// Milliseconds from a message of the box's own reaching the line to the panel
// having acted on it: the real panel (in this process) on the real serial
// port, at the slave end of a pseudo-terminal whose master plays the box.
std::vector<double> message_to_effect(int messages)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(master);
    ::unlockpt(master);
    const QString slave = QString::fromLocal8Bit(::ptsname(master));
    termios tio{};
    const int raw = ::open(slave.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ::tcgetattr(raw, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(raw, TCSANOW, &tio);

    QTemporaryDir dir;
    const QString settings = write_settings(dir);
    SystemParts parts;
    use_device(parts, slave);
    PanelEnvironment env = parts.environment(QStringLiteral(QV742_SOURCE_DIR "/bmp"), settings);
    env.message_box = [](const QString& text, const QString&) {
        std::fprintf(stderr, "bench_panel: %s\n", qPrintable(text));
    };
    std::vector<double> ms;
    {
        FrmMain panel(env);
        panel.start_up();  // nobody answers: "not ready", the port stays open
        ::close(raw);
        QRandomGenerator random(742);
        QTimer guard;  // never waits forever for an effect that does not come
        guard.start(100);
        for (int i = 0; i < messages; ++i) {
            // The panel idles for a while, so the message meets a poll timer
            // in any phase.
            QEventLoop idle;
            QTimer::singleShot(random.bounded(20), &idle, &QEventLoop::quit);
            idle.exec();
            const int level = 10 + i % 2;
            char message[7];
            std::snprintf(message, sizeof message, "CON%03d", level);
            QElapsedTimer t;
            t.start();
            if (::write(master, message, 6) != 6)
                break;
            while (parts.state.contrast_level != level && t.elapsed() < 1000)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        panel.close();
    }
    ::close(master);
    return ms;
}


// A session bus of its own for the programs measured, as a desktop has one.
class SessionBus {
public:
    SessionBus()
    {
        daemon_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--nopidfile", "--print-address"});
        if (daemon_.waitForReadyRead(5000))
            address_ = QString::fromLatin1(daemon_.readLine().trimmed());
    }
    ~SessionBus()
    {
        daemon_.terminate();
        daemon_.waitForFinished(3000);
    }
    QString address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

constexpr int kRuns = 15;

// Milliseconds from one start of the panel until the box has answered the
// last query of its start-up exchange. `bus`: the session bus, or none.
double panel_start_ms(const QString& bus, bool idle_figures)
{
    QTemporaryDir dir;
    const QString program = copy_panel(dir);
    QProcess sim;
    sim.start(QStringLiteral(QV742_SIM), {"--link", dir.filePath("com1"), "--reply-delay", "0"});
    for (int k = 0; k < 500 && !QFileInfo::exists(dir.filePath("com1")); ++k)
        QThread::msleep(2);
    const QTemporaryDir runtime(runtime_folder_template());
    QProcess panel;
    panel.setProcessEnvironment(program_env(dir.filePath("tmp"), bus, runtime.path()));
    panel.start(program, {"--com1", dir.filePath("com1")});
    const double ms = time_until(sim, [](const QByteArray& s) { return s.contains("send ZOM0"); });
    if (idle_figures) {
        QThread::msleep(2000);  // idle
        report("idle_rss_mb", rss_mb(panel.processId()), "MB");
        // Ten seconds of the idle panel with its port open.
        const ProcessUsage before = process_usage(panel.processId());
        QThread::msleep(10000);
        const ProcessUsage after = process_usage(panel.processId());
        report("idle_wakeups_per_s", (after.wakeups - before.wakeups) / 10.0, "/s");
        report("idle_cpu_pct", (after.cpu_ns - before.cpu_ns) / 1e9 / 10.0 * 100.0, "%");
    }
    ::kill(static_cast<pid_t>(panel.processId()), SIGTERM);
    panel.waitForFinished(5000);
    sim.terminate();
    sim.waitForFinished(5000);
    return ms;
}

// Milliseconds from one start of the least Qt window until it is shown.
double window_start_ms(const QStringList& args, const QString& bus)
{
    QTemporaryDir dir;
    QProcess window;
    window.setProcessEnvironment(program_env(dir.path(), bus));
    window.start(QStringLiteral(QV742_BASELINE), args);
    const double ms = time_until(window, [](const QByteArray& s) { return s.contains("shown"); });
    window.waitForFinished(5000);
    return ms;
}

// Start-up against a Qt window that shows one line of text in the panel's
// face (loading fonts is a good part of any window's start), as a desktop
// has it, with a session bus, and without one (where each start may try to
// launch a bus of its own). The bare window is reported beside it. The
// three take turns, so a change in the machine's pace meets all of them
// alike; each figure is the median of kRuns starts.
void startup_figures(bool idle_figures)
{
    const SessionBus bus;
    for (const bool with_bus : {true, false}) {
        const QString address = with_bus ? bus.address() : QString();
        std::vector<double> panel, text, bare;
        for (int i = 0; i < kRuns; ++i) {
            panel.push_back(panel_start_ms(address, idle_figures && with_bus && i == kRuns - 1));
            text.push_back(window_start_ms({"--text"}, address));
            bare.push_back(window_start_ms({}, address));
        }
        const double startup_ms = percentile(panel, 0.5);
        const double baseline_ms = percentile(text, 0.5);
        const double bare_ms = percentile(bare, 0.5);
        const char* suffix = with_bus ? "" : "_no_bus";
        const auto name = [suffix](const char* figure) { return QByteArray(figure) + suffix; };
        report(name("startup_ms").constData(), startup_ms, "ms");
        report(name("startup_baseline_ms").constData(), baseline_ms, "ms");
        report(name("startup_ratio").constData(), startup_ms / baseline_ms, "x");
        report(name("startup_bare_window_ms").constData(), bare_ms, "ms");
        report(name("startup_ratio_bare").constData(), startup_ms / bare_ms, "x");
    }
}

}  // namespace

// With "startup" or "gap", only those figures.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QByteArray only = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (only == "gap") {
        const double gap_us = panel_reply_to_command_us(2000);
        report("panel_reply_to_command_us", gap_us, "us");
        return 0;
    }
    const bool startup_only = only == "startup";
    startup_figures(!startup_only);
    if (startup_only)
        return 0;

    const QImage panel_outline(QStringLiteral(QV742_SOURCE_DIR "/bmp/blue_panel.bmp"));
    report("outline_ms", median_ms(200, [&] { region_from_picture(panel_outline); }), "ms");
    const QImage shapes = random_shapes(3840, 2160);
    report("outline_4k_ms", median_ms(9, [&] { region_from_picture(shapes); }), "ms");

    const double gap_us = panel_reply_to_command_us(100);
    report("panel_reply_to_command_us", gap_us, "us");
    report("panel_reply_to_command_pct", gap_us / 12500.0 * 100.0, "%");

    const std::vector<double> effect = message_to_effect(200);
    report("message_to_effect_ms", percentile(effect, 0.5), "ms");
    report("message_to_effect_max_ms", percentile(effect, 1.0), "ms");

    // The monitor with its log at the limit: what one more entry costs.
    ReceiveLog log;
    SystemDesktop desktop;
    FrmRx monitor(log, desktop);
    monitor.show();
    while (log.text().size() < ReceiveLog::kDefaultCapacity - 64)
        log.append(QStringLiteral("XYZ123"));
    monitor.sync_log();
    QCoreApplication::processEvents();
    std::vector<double> entry_us;
    for (int i = 0; i < 300; ++i) {
        QElapsedTimer t;
        t.start();
        log.append(QStringLiteral("ASP001"));
        monitor.sync_log();
        QCoreApplication::processEvents();
        entry_us.push_back(t.nsecsElapsed() / 1000.0);
    }
    report("monitor_entry_us_full_log", percentile(entry_us, 0.5), "us");
    return 0;
}
