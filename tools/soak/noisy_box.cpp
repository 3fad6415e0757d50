// qv742-noisybox: a QV-742 on a bad line, for the soak test. It answers the
// panel's commands as the simulated box does (BoxModel, 9600-baud pacing),
// but drops, delays, splits or garbles some replies and ready messages, and
// between commands sends random bytes, merged and split messages, floods,
// valid messages of its own, and falls silent for seconds at a time.
//
// Some of its own messages are isolated: the line was silent for 0.5 s
// before, stays silent for 0.5 s after, and no command from the panel arrives
// in that second. Each carries a value no other message uses (VER200,
// VER201, ...) and is printed on standard output as "valid VER200" once its
// quiet half-second after has passed; only those count as sent.
//
// SIGUSR1 calms the line for the end of a run: no more noise or messages of
// its own, and every command answered.

#include "box/box_model.h"
#include "sim/pty_end.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <optional>
#include <poll.h>
#include <random>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;
volatile std::sig_atomic_t g_calm = 0;

void on_signal(int)
{
    g_stop = 1;
}

void on_calm(int)
{
    g_calm = 1;
}

qint64 now_us()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

constexpr qint64 kMs = 1000;
constexpr qint64 kQuietUs = 500 * kMs;  // silence around an isolated message
constexpr int kFirstIsolated = 200;     // VER200 ... VER999: the box's own version is 105
constexpr int kLastIsolated = 999;

// Messages the box may send on its own as noise. None is a VER: those are
// kept for the isolated messages.
const char* const kPlain[] = {
    "ASP000", "ASP001", "ASP002", "SCN000", "SCN001", "FMT000", "FMT001", "FRZ000", "FRZ001",
    "NPO000", "NPO001", "CON020", "CON045", "BRI050", "BRI200", "SAT010", "SAT050", "FLK003",
    "FLK018", "SHA004", "SHA012", "ARA002", "ARA007", "ARA010", "MVU000", "SZL001", "XYZ123",
    "RDY000", "CON999", "ASP777",
};
// Messages after which the panel waits up to 5 s for the ready message.
const char* const kSlow[] = {"PWR001", "PWR000", "ZOM001", "ZOM000", "RST003", "RST000", "PAT000", "PAT001"};

struct Counters {
    int commands = 0;
    int replies_normal = 0, replies_dropped = 0, replies_late = 0, replies_split = 0;
    int replies_garbled = 0, replies_merged = 0;
    int ready_normal = 0, ready_dropped = 0, ready_late = 0;
    int random_bursts = 0, plain_messages = 0, slow_messages = 0, merged = 0, split = 0;
    int floods = 0, silences = 0;
    int isolated_tried = 0, isolated_counted = 0, isolated_spoilt = 0;
    qint64 bytes_out = 0;
};

class NoisyBox {
public:
    NoisyBox(PtyEnd& pty, quint32 seed) : pty_(pty), rng_(seed), box_(box_config())
    {
        const qint64 now = now_us();
        last_in_ = last_out_ = now;
        next_noise_ = now + 2'000 * kMs;  // let the panel start in peace
        next_isolated_check_ = now;
    }

    void run()
    {
        while (!g_stop) {
            const qint64 now = now_us();
            qint64 next = std::min({next_noise_, next_isolated_check_, now + 100 * kMs});
            if (!queue_.empty())
                next = std::min(next, queue_.begin()->first);
            if (pending_)
                next = std::min(next, pending_->sent + kQuietUs + 1);
            const qint64 left = std::max<qint64>(0, next - now);
            timespec timeout{left / 1'000'000, (left % 1'000'000) * 1000};
            pollfd fd{pty_.fd(), POLLIN, 0};
            if (::ppoll(&fd, 1, &timeout, nullptr) < 0)
                continue;  // a signal: the loop condition decides
            if (fd.revents & POLLIN)
                receive(pty_.read_available(), now_us());
            tick(now_us());
        }
    }

    const Counters& counters() const { return n_; }

private:
    static BoxConfig box_config()
    {
        BoxConfig config;
        config.paced = true;
        config.ready_delay_ms = 300;
        return config;
    }

    struct Isolated {
        QByteArray message;
        qint64 sent;
        bool spoilt;
    };

    double uniform() { return std::uniform_real_distribution<double>(0, 1)(rng_); }
    qint64 between_ms(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_) * kMs; }
    template <size_t N>
    QByteArray pick(const char* const (&list)[N])
    {
        return QByteArray(list[std::uniform_int_distribution<size_t>(0, N - 1)(rng_)]);
    }
    QByteArray random_bytes(int count)
    {
        QByteArray out;
        for (int i = 0; i < count; ++i)
            out += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng_));
        return out;
    }

    void schedule(qint64 at, const QByteArray& bytes) { queue_.emplace(at, bytes); }
    // A message at the line's pace, one byte every byte time from `at`.
    void schedule_paced(qint64 at, const QByteArray& message)
    {
        for (int i = 0; i < message.size(); ++i)
            schedule(at + i * BoxModel::kByteTimeUs, message.mid(i, 1));
    }

    void receive(const QByteArray& bytes, qint64 now)
    {
        if (bytes.isEmpty())
            return;
        last_in_ = now;
        if (pending_)
            pending_->spoilt = true;  // a command within the quiet second
        const BoxInput input = box_.receive(bytes, now);
        n_.commands += input.commands.size();
        if (now < silent_until_ && !g_calm)
            return;  // the settings change, but nothing comes back
        for (const Emission& e : input.emissions) {
            if (g_calm) {
                schedule_paced(e.at_us, e.message);
                continue;
            }
            if (e.message == BoxModel::kReadyMessage)
                ready(e);
            else
                reply(e);
        }
    }

    void reply(const Emission& e)
    {
        const double r = uniform();
        if (r < 0.78) {
            ++n_.replies_normal;
            schedule_paced(e.at_us, e.message);
        } else if (r < 0.83) {
            ++n_.replies_dropped;
        } else if (r < 0.88) {
            ++n_.replies_late;  // after the panel stopped waiting: the poll timer takes it
            schedule_paced(e.at_us + between_ms(350, 900), e.message);
        } else if (r < 0.93) {
            ++n_.replies_split;  // within the gap rule or not
            const int cut = std::uniform_int_distribution<int>(1, 5)(rng_);
            schedule(e.at_us, e.message.left(cut));
            schedule(e.at_us + between_ms(20, 450), e.message.mid(cut));
        } else if (r < 0.97) {
            ++n_.replies_garbled;
            QByteArray bad = e.message;
            if (uniform() < 0.5)
                bad[std::uniform_int_distribution<int>(0, 5)(rng_)] = random_bytes(1)[0];
            else
                bad += random_bytes(std::uniform_int_distribution<int>(1, 4)(rng_));
            schedule_paced(e.at_us, bad);
        } else {
            ++n_.replies_merged;
            schedule(e.at_us, e.message + pick(kPlain));
        }
    }

    void ready(const Emission& e)
    {
        const double r = uniform();
        if (r < 0.75) {
            ++n_.ready_normal;
            schedule_paced(e.at_us + between_ms(0, 2500), e.message);
        } else if (r < 0.9) {
            ++n_.ready_dropped;  // the panel waits its full 5 s
        } else {
            ++n_.ready_late;
            schedule_paced(e.at_us + between_ms(4000, 7000), e.message);
        }
    }

    // Nothing on the line for the quiet time, nothing on its way, and no
    // isolated message waiting for its verdict.
    bool line_quiet(qint64 now) const
    {
        return !pending_ && queue_.empty() && now - last_in_ >= kQuietUs && now - last_out_ >= kQuietUs;
    }

    void tick(qint64 now)
    {
        // Whatever is due goes out.
        while (!queue_.empty() && queue_.begin()->first <= now) {
            const QByteArray bytes = queue_.begin()->second;
            queue_.erase(queue_.begin());
            pty_.write(bytes);
            n_.bytes_out += bytes.size();
            last_out_ = now;
            if (pending_)
                pending_->spoilt = true;
        }
        // The verdict on an isolated message, once its quiet half-second passed.
        if (pending_ && now >= pending_->sent + kQuietUs) {
            if (!pending_->spoilt && last_in_ < pending_->sent - kQuietUs) {
                ++n_.isolated_counted;
                std::printf("valid %s\n", pending_->message.constData());
                std::fflush(stdout);
            } else {
                ++n_.isolated_spoilt;
            }
            pending_.reset();
        }
        if (now >= next_isolated_check_) {
            next_isolated_check_ = now + 50 * kMs;
            if (!g_calm && now >= silent_until_ && next_value_ <= kLastIsolated && line_quiet(now)
                && uniform() < 0.3)
                send_isolated(now);
        }
        if (now >= next_noise_) {
            next_noise_ = now + static_cast<qint64>(std::exponential_distribution<double>(1.0 / 1.2)(rng_) * 1e6);
            if (pending_)
                next_noise_ = std::max(next_noise_, pending_->sent + kQuietUs + 1);
            else if (now >= silent_until_ && !g_calm)
                noise(now);
        }
    }

    void send_isolated(qint64 now)
    {
        const QByteArray message = "VER" + QByteArray::number(next_value_++);
        ++n_.isolated_tried;
        box_.announce(QString::fromLatin1(message), now);
        pty_.write(message);  // all six bytes in one go: nothing can split them
        n_.bytes_out += message.size();
        last_out_ = now;
        pending_ = Isolated{message, now, last_in_ >= now - kQuietUs};
    }

    void noise(qint64 now)
    {
        const double r = uniform();
        if (r < 0.25) {
            ++n_.random_bursts;
            schedule(now, random_bytes(std::uniform_int_distribution<int>(1, 12)(rng_)));
        } else if (r < 0.50) {
            ++n_.plain_messages;
            const QByteArray m = pick(kPlain);
            box_.announce(QString::fromLatin1(m), now);
            schedule_paced(now, m);
        } else if (r < 0.58) {
            ++n_.slow_messages;  // a real box follows these with its ready message, mostly
            const QByteArray m = pick(kSlow);
            box_.announce(QString::fromLatin1(m), now);
            schedule_paced(now, m);
            if (uniform() < 0.75)
                schedule_paced(now + between_ms(200, 1500), BoxModel::kReadyMessage);
        } else if (r < 0.70) {
            ++n_.merged;
            QByteArray m = pick(kPlain) + pick(kPlain);
            if (uniform() < 0.3)
                m += pick(kPlain);
            schedule(now, m);
        } else if (r < 0.82) {
            ++n_.split;
            const QByteArray m = pick(kPlain);
            const int cut = std::uniform_int_distribution<int>(1, 5)(rng_);
            schedule(now, m.left(cut));
            schedule(now + between_ms(10, 500), m.mid(cut));
        } else if (r < 0.95) {
            ++n_.floods;  // a stream with no gap, at about the line's rate
            const qint64 length = between_ms(300, 2500);
            for (qint64 t = 0; t < length; t += kMs)
                schedule(now + t, random_bytes(1));
        } else {
            ++n_.silences;
            silent_until_ = now + between_ms(2000, 8000);
            queue_.clear();
        }
    }

    PtyEnd& pty_;
    std::mt19937 rng_;
    BoxModel box_;
    std::multimap<qint64, QByteArray> queue_;
    qint64 last_in_ = 0;
    qint64 last_out_ = 0;
    qint64 next_noise_ = 0;
    qint64 next_isolated_check_ = 0;
    qint64 silent_until_ = 0;
    int next_value_ = kFirstIsolated;
    std::optional<Isolated> pending_;
    Counters n_;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("qv742-noisybox");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A QV-742 on a noisy line, on a pseudo-terminal, for the soak test.\n"
        "Prints \"valid XXXXXX\" for each isolated message of its own.");
    parser.addHelpOption();
    const QCommandLineOption link({"l", "link"}, "Make PATH a link to the serial end.", "PATH");
    const QCommandLineOption seed("seed", "Seed of the noise (default: from the clock).", "N");
    parser.addOptions({link, seed});
    parser.process(app);

    quint32 seed_value = static_cast<quint32>(now_us());
    if (parser.isSet(seed)) {
        bool ok = false;
        seed_value = parser.value(seed).toUInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "qv742-noisybox: the seed is a whole number\n");
            return 2;
        }
    }

    const QString link_path = parser.value(link);
    PtyEnd pty;
    QString error;
    if (!pty.open(link_path, error)) {
        std::fprintf(stderr, "qv742-noisybox: %s\n", qPrintable(error));
        return 2;
    }
    std::fprintf(stderr, "qv742-noisybox: serial end %s, seed %u\n", qPrintable(pty.serial_path()), seed_value);
    std::fflush(stderr);

    on_stop_signals(on_signal);
    struct sigaction calm {};
    calm.sa_handler = on_calm;
    sigaction(SIGUSR1, &calm, nullptr);

    NoisyBox box(pty, seed_value);
    box.run();

    const Counters& n = box.counters();
    std::fprintf(stderr,
                 "qv742-noisybox: %d commands; replies %d normal, %d dropped, %d late, %d split, %d garbled, "
                 "%d merged; ready %d normal, %d dropped, %d late; noise %d random bursts, %d plain and %d slow "
                 "messages, %d merged, %d split, %d floods, %d silences; isolated %d sent, %d counted, %d spoilt; "
                 "%lld bytes out\n",
                 n.commands, n.replies_normal, n.replies_dropped, n.replies_late, n.replies_split,
                 n.replies_garbled, n.replies_merged, n.ready_normal, n.ready_dropped, n.ready_late,
                 n.random_bursts, n.plain_messages, n.slow_messages, n.merged, n.split, n.floods, n.silences,
                 n.isolated_tried, n.isolated_counted, n.isolated_spoilt, static_cast<long long>(n.bytes_out));
    return 0;
}
