// qv742-soak: the real panel against a noisy box for a long while.
//
//   qv742-soak [SECONDS] [--seed N]
//
// Starts qv742-noisybox on a pseudo-terminal and, in a child process of its
// own (so a crash is seen and counted), the real FrmMain on the real serial
// port, offscreen, with a driver that clicks buttons, holds arrows, hovers,
// clicks options and moves sliders at random by sending mouse events to the
// panel's widgets, in bursts with pauses between them, after a first look at
// every page in both skins. The child watches its own event loop with a
// 20 ms timer, follows the receive log for the box's isolated messages and
// samples its resident memory. At the end this prints
//
//   soak_crashes: N         the panel process died
//   soak_stalls: N          event-loop gaps over 5.5 s (a frozen panel counts too)
//   soak_valid_acted: N     isolated messages that reached the receive log
//   soak_valid_sent: N      isolated messages the box sent
//   soak_rss_growth_mb: X   resident memory, end minus after min(60 s, 20 %)
//
// and exits non-zero unless crashes and stalls are 0, acted equals sent and
// the growth is at most 2 MB.

#include "app/system_parts.h"
#include "core/shared_state.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/system_serial_port.h"
#include "widgets/option_label.h"
#include "widgets/picture_button.h"
#include "panel/panel_elements.h"
#include "platform/fonts.h"
#include "platform/picture_store.h"
#include "platform/system_desktop.h"
#include "window/frm_main.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QSaveFile>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <iterator>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

constexpr qint64 kStallMs = 5500;        // the 5 s ready wait and half a second
constexpr double kGrowthLimitMb = 2.0;
constexpr int kCalmSeconds = 2;          // quiet line at the end, before the panel stops

qint64 steady_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

qint64 resident_kb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return -1;
    return fields[1].toLongLong() * (::sysconf(_SC_PAGESIZE) / 1024);
}

// ---------------------------------------------------------------- the panel

// Mouse events on the panel's own widgets, at random, in bursts.
class Driver : public QObject {
public:
    Driver(FrmMain& frm, quint32 seed) : frm_(frm), rng_(seed)
    {
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] { step(); });
        phase_end_ = steady_ms() + 3000;
        timer_.start(3000);  // the start-up exchange first
    }
    void stop()
    {
        stopped_ = true;
        timer_.stop();
    }
    int actions() const { return actions_; }

private:
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }

    // First a look at every page in both skins, as a new user would take:
    // the pictures and pages that stay loaded from then on are in place
    // before memory is measured. Buttons by index, options as -1 - index.
    static constexpr int kTour[] = {
        10, -1 - 3, 16, 15, 16, 11, 24, 23, 16, 7, 31, 16, 3, 16,   // in Flower
        10, -1 - 2, 16, 15, 16, 11, 24, 23, 16, 7, 31, 16, 3, 16,   // and in Wood
    };

    void tour_step()
    {
        const int target = kTour[toured_++];
        const PanelElements& el = frm_.elements();
        QWidget* w = target >= 0 ? static_cast<QWidget*>(el.img_ico[target]) : el.lab_opt[-1 - target];
        if (shown(w) && w->isEnabled())
            click(w, 0);
    }

    void step()
    {
        if (stopped_)
            return;
        if (toured_ < static_cast<int>(std::size(kTour))) {
            timer_.start(400);
            if (depth_ == 0) {
                ++depth_;
                tour_step();
                --depth_;
            }
            if (toured_ == static_cast<int>(std::size(kTour)))
                phase_end_ = steady_ms();
            return;
        }
        const qint64 now = steady_ms();
        if (now >= phase_end_) {
            active_ = !active_;
            phase_end_ = now + (active_ ? uniform(2000, 8000) : uniform(500, 4000));
        }
        timer_.start(active_ ? uniform(40, 600) : static_cast<int>(phase_end_ - now));
        // A user may click while the panel waits; not five levels deep.
        if (!active_ || depth_ >= 2)
            return;
        ++depth_;
        act();
        --depth_;
    }

    bool shown(QWidget* w) const { return w && w->isVisibleTo(&frm_); }

    void act()
    {
        ++actions_;
        const PanelElements& el = frm_.elements();
        QList<QScrollBar*> sliders;
        for (QScrollBar* s : el.hsr_video)
            if (shown(s))
                sliders << s;
        QList<OptionLabel*> options;
        for (OptionLabel* o : el.lab_opt)
            if (shown(o))
                options << o;
        const int r = uniform(0, 99);
        if (r < 15)
            hover();
        else if (r < 35 && !sliders.isEmpty())
            move_slider(sliders[uniform(0, sliders.size() - 1)]);
        else if (r < 45 && !options.isEmpty())
            click(options[uniform(0, options.size() - 1)], 0);
        else
            click_button();
    }

    // Buttons that leave the panel (tray, minimise, close, magnifier) or
    // reopen the port (COM1, COM2, which discards what is waiting) are left out.
    static bool driven(int i) { return i != 0 && i != 1 && i != 2 && i != 8 && i != 28 && i != 29; }

    QList<PictureButton*> buttons(bool enabled_only) const
    {
        QList<PictureButton*> out;
        for (PictureButton* b : frm_.elements().img_ico)
            if (b && driven(b->index()) && shown(b) && (!enabled_only || b->isEnabled()))
                out << b;
        return out;
    }

    void click_button()
    {
        QList<PictureButton*> list = buttons(!chance(0.1));
        if (list.isEmpty())
            return;
        PictureButton* b = list[uniform(0, list.size() - 1)];
        const bool arrow = b->index() >= 17 && b->index() <= 20;
        click(b, arrow ? uniform(50, 900) : uniform(0, 150));
    }

    void hover()
    {
        QList<PictureButton*> list = buttons(false);
        QWidget* target = list.isEmpty() || chance(0.2) ? static_cast<QWidget*>(frm_.elements().pic_win)
                                                        : list[uniform(0, list.size() - 1)];
        mouse(target, QEvent::MouseMove, Qt::NoButton);
    }

    void click(QWidget* w, int hold_ms)
    {
        mouse(w, QEvent::MouseButtonPress, Qt::LeftButton);
        QPointer<QWidget> target(w);
        const auto release = [this, target] {
            ++depth_;
            if (target)
                mouse(target, QEvent::MouseButtonRelease, Qt::LeftButton);
            --depth_;
        };
        if (hold_ms == 0)
            release();
        else
            QTimer::singleShot(hold_ms, this, release);
    }

    void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button)
    {
        const QPointF local(w->width() / 2.0, w->height() / 2.0);
        const QPointF global = w->mapToGlobal(local);
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
        QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }

    // A click in the trough, a key step, or a drag of the thumb.
    void move_slider(QScrollBar* s)
    {
        const int r = uniform(0, 2);
        if (r == 0) {
            s->setValue(uniform(s->minimum(), s->maximum()));
        } else if (r == 1) {
            static const QAbstractSlider::SliderAction kActions[] = {
                QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderPageStepSub};
            s->triggerAction(kActions[uniform(0, 3)]);
        } else {
            drag(QPointer<QScrollBar>(s), uniform(3, 12));
        }
    }

    void drag(QPointer<QScrollBar> s, int steps)
    {
        if (!s)
            return;
        ++depth_;
        if (steps == 0) {
            s->setSliderDown(false);
        } else {
            s->setSliderDown(true);
            const int span = std::max(1, (s->maximum() - s->minimum()) / 8);
            s->setSliderPosition(std::clamp(s->sliderPosition() + uniform(-span, span), s->minimum(), s->maximum()));
            QTimer::singleShot(uniform(20, 80), this, [this, s, steps] { drag(s, steps - 1); });
        }
        --depth_;
    }

    FrmMain& frm_;
    std::mt19937 rng_;
    QTimer timer_;
    qint64 phase_end_ = 0;
    bool active_ = false;
    bool stopped_ = false;
    int depth_ = 0;
    int actions_ = 0;
    int toured_ = 0;
};

// Event-loop gaps, seen from a 20 ms timer and from a thread that notices a
// gap while it lasts (a loop that never comes back is still a stall).
class Watchdog {
public:
    Watchdog()
    {
        last_.store(steady_ms());
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] { beat(); });
        timer_.start();
        thread_ = std::thread([this] { watch(); });
    }
    ~Watchdog()
    {
        done_.store(true);
        thread_.join();
    }
    int stalls() const { return stalls_.load(); }
    qint64 max_gap_ms() const { return max_gap_; }

private:
    void beat()
    {
        const qint64 now = steady_ms();
        max_gap_ = std::max(max_gap_, now - last_.load());
        last_.store(now);
    }
    void watch()
    {
        qint64 counted_for = -1;
        while (!done_.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const qint64 last = last_.load();
            if (steady_ms() - last > kStallMs && counted_for != last) {
                counted_for = last;
                stalls_.fetch_add(1);
                std::fprintf(stderr, "qv742-soak: the event loop has not run for %.1f s\n",
                             (steady_ms() - last) / 1000.0);
            }
        }
    }

    QTimer timer_;
    std::atomic<qint64> last_{0};
    std::atomic<int> stalls_{0};
    std::atomic<bool> done_{false};
    qint64 max_gap_ = 0;
    std::thread thread_;
};

// The box's isolated messages ("VER200" and up) in the receive log.
class LogFollower {
public:
    explicit LogFollower(const ReceiveLog& log) : log_(log) {}
    void scan()
    {
        const QString& text = log_.text();
        qsizetype from = scanned_;
        if (log_.revision() != revision_ || text.size() < scanned_) {
            revision_ = log_.revision();
            from = 0;  // trimmed or cleared: read it all again; the set keeps each once
        }
        // Entries are six characters and a blank; a noise entry may hold
        // blanks itself, so look for the pattern rather than split.
        for (qsizetype i = text.indexOf(QLatin1String("VER"), std::max<qsizetype>(0, from - 6)); i >= 0;
             i = text.indexOf(QLatin1String("VER"), i + 1)) {
            if (i + 7 > text.size())
                break;
            if ((i > 0 && text[i - 1] != QLatin1Char(' ')) || text[i + 6] != QLatin1Char(' '))
                continue;
            const QString digits = text.mid(i + 3, 3);
            if (std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); })
                && digits.toInt() >= 200)
                seen_.insert(text.mid(i, 6));
        }
        scanned_ = text.size();
    }
    const QSet<QString>& seen() const { return seen_; }

private:
    const ReceiveLog& log_;
    quint64 revision_ = 0;
    qsizetype scanned_ = 0;
    QSet<QString> seen_;
};

// The offscreen platform says at every skin load that it cannot raise a
// window or set its outline; nothing else is dropped.
QtMessageHandler g_next_handler = nullptr;

void quiet_offscreen(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (g_next_handler)
        g_next_handler(type, context, text);
}

int run_panel(int argc, char** argv, const QString& link, int seconds, const QString& dir, quint32 seed)
{
    g_next_handler = qInstallMessageHandler(quiet_offscreen);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    install_font_substitutes();

    SystemParts parts;
    parts.com_devices.set_override(1, link);
    int dialogs = 0;
    PanelEnvironment env = parts.environment(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bmp")),
                                             QDir(dir).filePath(QStringLiteral("QVR_742.ini")));
    env.message_box = [&dialogs](const QString& text, const QString& detail) {
        ++dialogs;
        std::fprintf(stderr, "qv742-soak: message box: %s %s\n", qPrintable(text), qPrintable(detail));
    };

    const qint64 start = steady_ms();
    const qint64 baseline_at = start + std::min<qint64>(60'000, seconds * 200LL);
    qint64 rss_base = -1;
    qint64 rss_end = -1;
    QByteArray rss_trace;  // a sample every tenth of the run, in MB
    int traced = 0;

    Watchdog watchdog;
    FrmMain panel(env);
    panel.start_up();
    Driver driver(panel, seed);
    LogFollower follower(panel.link().receive_log());

    const QString report_path = QDir(dir).filePath(QStringLiteral("panel.report"));
    const auto report = [&] {
        QSaveFile out(report_path);
        if (!out.open(QIODevice::WriteOnly))
            return;
        QByteArray text;
        text += "stalls " + QByteArray::number(watchdog.stalls()) + '\n';
        text += "max_gap_ms " + QByteArray::number(watchdog.max_gap_ms()) + '\n';
        text += "rss_base_kb " + QByteArray::number(rss_base) + '\n';
        text += "rss_end_kb " + QByteArray::number(rss_end) + '\n';
        text += "actions " + QByteArray::number(driver.actions()) + '\n';
        text += "dialogs " + QByteArray::number(dialogs) + '\n';
        text += "log_chars " + QByteArray::number(panel.link().receive_log().text().size()) + '\n';
        text += "rss_trace " + (rss_trace.isEmpty() ? QByteArray("-") : rss_trace) + '\n';
        for (const QString& v : follower.seen())
            text += "seen " + v.toLatin1() + '\n';
        out.write(text);
        out.commit();
    };

    QTimer scan;
    QObject::connect(&scan, &QTimer::timeout, [&] { follower.scan(); });
    scan.start(100);
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        const qint64 now = steady_ms();
        if (rss_base < 0 && now >= baseline_at)
            rss_base = resident_kb();
        rss_end = resident_kb();
        if (now - start >= (traced + 1) * seconds * 100LL) {
            ++traced;
            rss_trace += (rss_trace.isEmpty() ? "" : ",") + QByteArray::number(rss_end / 1024.0, 'f', 2);
        }
        report();
    });
    sample.start(1000);
    // The driver stops with the noise; the line is calm for the last seconds
    // so a message still on its way is collected.
    QTimer::singleShot(seconds * 1000, &driver, [&] { driver.stop(); });
    // Not QCoreApplication::quit(): that would close the windows, and the
    // monitor's closing clears the log before the last look at it.
    QEventLoop run;
    QTimer::singleShot((seconds + kCalmSeconds) * 1000, &run, &QEventLoop::quit);
    run.exec();

    follower.scan();
    rss_end = resident_kb();
    if (rss_base < 0)
        rss_base = rss_end;
    report();
    panel.close();
    return 0;
}

// -------------------------------------------------------------- the harness

struct PanelReport {
    int stalls = 0;
    qint64 max_gap_ms = 0;
    qint64 rss_base_kb = -1;
    qint64 rss_end_kb = -1;
    int actions = 0;
    int dialogs = 0;
    qint64 log_chars = 0;
    QByteArray rss_trace;
    QSet<QString> seen;
};

PanelReport read_report(const QString& path)
{
    PanelReport r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return r;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> kv = line.split(' ');
        if (kv.size() != 2)
            continue;
        if (kv[0] == "stalls")
            r.stalls = kv[1].toInt();
        else if (kv[0] == "max_gap_ms")
            r.max_gap_ms = kv[1].toLongLong();
        else if (kv[0] == "rss_base_kb")
            r.rss_base_kb = kv[1].toLongLong();
        else if (kv[0] == "rss_end_kb")
            r.rss_end_kb = kv[1].toLongLong();
        else if (kv[0] == "actions")
            r.actions = kv[1].toInt();
        else if (kv[0] == "dialogs")
            r.dialogs = kv[1].toInt();
        else if (kv[0] == "log_chars")
            r.log_chars = kv[1].toLongLong();
        else if (kv[0] == "rss_trace")
            r.rss_trace = kv[1];
        else if (kv[0] == "seen")
            r.seen.insert(QString::fromLatin1(kv[1]));
    }
    return r;
}

int run_harness(int argc, char** argv, int seconds, const QString& seed_text)
{
    QCoreApplication app(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath();
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("com1"));
    const quint32 seed = seed_text.isEmpty() ? static_cast<quint32>(steady_ms()) : seed_text.toUInt();
    std::fprintf(stderr, "qv742-soak: %d s, seed %u, in %s\n", seconds, seed, qPrintable(dir.path()));

    QProcess box;
    box.setProgram(QDir(bin).filePath(QStringLiteral("qv742-noisybox")));
    box.setArguments({QStringLiteral("--link"), link, QStringLiteral("--seed"), QString::number(seed)});
    box.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    box.start();
    if (!box.waitForStarted(10000)) {
        std::fprintf(stderr, "qv742-soak: cannot start %s\n", qPrintable(box.program()));
        return 2;
    }
    for (int i = 0; i < 1000 && !QFileInfo::exists(link); ++i)
        QThread::msleep(10);
    if (!QFileInfo::exists(link)) {
        std::fprintf(stderr, "qv742-soak: the noisy box made no link\n");
        return 2;
    }

    QProcess panel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    panel.setProcessEnvironment(env);
    panel.setProcessChannelMode(QProcess::ForwardedChannels);
    panel.setProgram(QCoreApplication::applicationFilePath());
    panel.setArguments({QStringLiteral("--panel"), link, QString::number(seconds), dir.path(),
                        QString::number(seed + 1)});
    panel.start();
    if (!panel.waitForStarted(10000)) {
        std::fprintf(stderr, "qv742-soak: cannot start the panel\n");
        return 2;
    }

    // The noise stops when the driver does; the panel runs on a little.
    QElapsedTimer clock;
    clock.start();
    bool calmed = false;
    bool frozen = false;
    const qint64 limit_ms = (seconds + kCalmSeconds + 90) * 1000LL;
    while (!panel.waitForFinished(200)) {
        if (panel.state() == QProcess::NotRunning)
            break;
        if (!calmed && clock.elapsed() >= seconds * 1000LL) {
            ::kill(static_cast<pid_t>(box.processId()), SIGUSR1);
            calmed = true;
        }
        if (clock.elapsed() > limit_ms) {
            std::fprintf(stderr, "qv742-soak: the panel did not finish; stopping it\n");
            frozen = true;
            panel.kill();
            panel.waitForFinished(5000);
            break;
        }
        box.waitForReadyRead(0);
    }
    const bool crashed = !frozen
        && (panel.exitStatus() == QProcess::CrashExit || panel.exitCode() != 0);
    if (crashed)
        std::fprintf(stderr, "qv742-soak: the panel process crashed (status %d, code %d)\n",
                     static_cast<int>(panel.exitStatus()), panel.exitCode());

    box.terminate();
    box.waitForFinished(5000);
    QStringList sent;
    for (const QByteArray& line : box.readAllStandardOutput().split('\n'))
        if (line.startsWith("valid "))
            sent << QString::fromLatin1(line.mid(6).trimmed());

    const PanelReport r = read_report(dir.filePath(QStringLiteral("panel.report")));
    int acted = 0;
    QStringList missed;
    for (const QString& m : sent) {
        if (r.seen.contains(m))
            ++acted;
        else
            missed << m;
    }
    const int crashes = crashed ? 1 : 0;
    const int stalls = r.stalls + (frozen ? 1 : 0);
    const double growth_mb =
        r.rss_base_kb < 0 || r.rss_end_kb < 0 ? 0.0 : (r.rss_end_kb - r.rss_base_kb) / 1024.0;

    std::fprintf(stderr,
                 "qv742-soak: %d driver actions, longest event-loop gap %.2f s, %d message boxes, "
                 "receive log %lld characters, resident %.1f MB -> %.1f MB\n",
                 r.actions, r.max_gap_ms / 1000.0, r.dialogs, static_cast<long long>(r.log_chars),
                 r.rss_base_kb / 1024.0, r.rss_end_kb / 1024.0);
    std::fprintf(stderr, "qv742-soak: resident memory at each tenth of the run (MB): %s\n", r.rss_trace.constData());
    if (!missed.isEmpty())
        std::fprintf(stderr, "qv742-soak: not in the receive log: %s\n", qPrintable(missed.join(' ')));

    std::printf("soak_crashes: %d\n", crashes);
    std::printf("soak_stalls: %d\n", stalls);
    std::printf("soak_valid_acted: %d\n", acted);
    std::printf("soak_valid_sent: %d\n", static_cast<int>(sent.size()));
    std::printf("soak_rss_growth_mb: %.2f\n", growth_mb);
    std::fflush(stdout);

    const bool met = crashes == 0 && stalls == 0 && acted == sent.size() && growth_mb <= kGrowthLimitMb;
    return met ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // Child: qv742-soak --panel LINK SECONDS DIR SEED
    if (argc == 6 && QByteArray(argv[1]) == "--panel") {
        return run_panel(argc, argv, QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt(),
                         QString::fromLocal8Bit(argv[4]), QByteArray(argv[5]).toUInt());
    }
    int seconds = 600;
    QString seed;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        bool ok = false;
        if (arg == "--seed" && i + 1 < argc) {
            seed = QString::fromLocal8Bit(argv[++i]);
        } else if (arg == "-h" || arg == "--help") {
            std::printf("usage: qv742-soak [SECONDS] [--seed N]\n"
                        "Runs the panel against a noisy box (default 600 s) and prints the soak figures.\n");
            return 0;
        } else if (const int n = arg.toInt(&ok); ok && n > 0) {
            seconds = n;
        } else {
            std::fprintf(stderr, "qv742-soak: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    return run_harness(argc, argv, seconds, seed);
}
