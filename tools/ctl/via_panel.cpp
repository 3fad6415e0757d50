#include "via_panel.h"

#include "app/control_client.h"
#include "link/protocol.h"
#include "platform/standard_output.h"

#include <QDeadlineTimer>
#include <cstdio>

namespace {

// The panel answers between its own routines; the longest (power on, with
// its ready wait and the mode queries) takes some seconds.
constexpr int kAnswerMs = 60000;
// A live panel says WAIT each second while a request waits, also inside
// its waits for a ready message; between two, at most one exchange runs
// (2.3 s at the worst). A panel silent for longer is stopped or hangs.
constexpr int kSilenceMs = 5000;

class PanelSession {
public:
    PanelSession(ControlClient& client, const QString& device) : client_(client), device_(device) {}

    // The next answer that is not a message of the box's own; nothing when
    // the session ended (already said on standard error).
    std::optional<control::Answer> answer(const char* expected)
    {
        for (;;) {
            const auto a = next(kAnswerMs, true);
            if (!a)
                return std::nullopt;
            if (a->word == "MSG")
                continue;  // before the listening begins, as the port would drop them
            if (a->word == expected)
                return a;
            ended(a->word, a->text);
            return std::nullopt;
        }
    }

    // Any answer; LOST, HELD and ERROR end the session, and so does running
    // out of time, or a silent panel, when an answer is owed.
    std::optional<control::Answer> next(int timeout_ms, bool owed)
    {
        const auto a = client_.next(timeout_ms, owed ? kSilenceMs : -1);
        if (!a) {
            if (owed || !client_.timed_out())
                ended(client_.timed_out() ? "SILENT" : "LOST", client_.failure());
            return std::nullopt;
        }
        if (a->word == "LOST" || a->word == "ERROR" || a->word == "HELD") {
            ended(a->word, a->text);
            return std::nullopt;
        }
        return a;
    }

    // After a command that brought no reply or no ready message: was the
    // device lost under it? Said when it was, as the panel says it.
    bool device_still_used()
    {
        client_.send("DEVICE");
        const auto a = answer("DEVICE");
        if (!a)
            return false;
        if (a->text == control::canonical_device(device_))
            return true;
        ended("LOST", QStringLiteral("the panel no longer uses this device"));
        return false;
    }

    bool over() const { return over_; }

private:
    void ended(const QByteArray& word, const QString& why)
    {
        over_ = true;
        if (word == "LOST")
            std::fprintf(stderr, "qv742-ctl: lost %s: %s\n", qPrintable(device_), qPrintable(why));
        else if (word == "SILENT")
            std::fprintf(stderr, "qv742-ctl: the panel using %s does not answer: %s\n", qPrintable(device_),
                         qPrintable(why));
        else  // HELD, ERROR: the panel's own words
            std::fprintf(stderr, "qv742-ctl: %s\n", qPrintable(why));
    }

    ControlClient& client_;
    QString device_;
    bool over_ = false;
};

}  // namespace

std::optional<int> run_through_panel(const QString& device, const QStringList& commands, bool listen,
                                     double listen_secs)
{
    ControlClient client;
    QString error;
    if (!client.connect_to_panel(0, error))
        return std::nullopt;  // no panel of this user
    client.send("DEVICE");
    const auto in_use = client.next(kAnswerMs, kSilenceMs);
    if (!in_use && client.timed_out()) {
        // It may hold the port: opening it here would only fail on its lock.
        std::fprintf(stderr, "qv742-ctl: your running panel does not answer: %s\n", qPrintable(client.failure()));
        return 2;
    }
    if (in_use && in_use->word == "ERROR") {
        std::fprintf(stderr, "qv742-ctl: the running panel refused this client: %s\n", qPrintable(in_use->text));
        return 2;
    }
    if (!in_use || in_use->word != "DEVICE" || in_use->text != control::canonical_device(device))
        return std::nullopt;  // it uses another device, or none

    PanelSession session(client, device);
    if (listen) {
        // From now on, so nothing the box says after the last reply is missed.
        client.send("LISTEN");
        if (!session.answer("OK"))
            return 2;
    }
    int status = 0;
    for (const QString& command : commands) {
        client.send("CMD " + command.toLatin1());
        const auto reply = session.answer("REPLY");
        if (!reply)
            return 2;
        if (const int e = print_out(reply->text.toLatin1() + '\n'))
            return output_failed("qv742-ctl", e);
        if (reply->text == protocol::kNone) {
            if (!session.device_still_used())
                return 2;
            status = 1;
        } else if (protocol::expects_ready(command)) {
            const auto ready = session.answer("READY");
            if (!ready)
                return 2;
            if (ready->text == protocol::kNone) {
                if (!session.device_still_used())
                    return 2;
                std::fprintf(stderr, "qv742-ctl: no ready message within 5 s after %s\n", qPrintable(command));
            }
        }
    }
    const QDeadlineTimer end(static_cast<qint64>(listen_secs * 1000));
    while (listen && !end.hasExpired()) {
        const auto message = session.next(static_cast<int>(end.remainingTime()), false);
        if (!message)
            break;
        if (message->word != "MSG")
            continue;
        if (const int e = print_out(message->text.toLatin1() + '\n'))
            return output_failed("qv742-ctl", e);
    }
    return session.over() ? 2 : status;
}
