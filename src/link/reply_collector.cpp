#include "link/reply_collector.h"

#include "link/clock.h"
#include "link/protocol.h"
#include "link/serial_port.h"

namespace {
// Only the first bytes of a collection matter: past six it is "NONE" anyway.
constexpr int kKeptChars = 16;
}  // namespace

QString ReplyCollector::collect(qint64 deadline_ms)
{
    QString field;
    qint64 count = 0;
    const qint64 begin = clock_.now_ms();
    for (;;) {
        const QByteArray chunk = port_.read_all();
        if (count < kKeptChars)
            field += protocol::from_wire(chunk.left(kKeptChars));
        count += chunk.size();
        if (count == protocol::kMessageLength)
            return field;
        const qint64 now = clock_.now_ms();
        if (now - begin > kMaxCollectMs || (deadline_ms >= 0 && now > deadline_ms)
            || !wait_for_byte(now, kReplyGapMs))
            return protocol::kNone;
    }
}

bool ReplyCollector::wait_for_byte(qint64 since, int limit_ms)
{
    for (;;) {
        const qint64 elapsed = clock_.now_ms() - since;
        if (elapsed > limit_ms || !port_.is_open())
            return false;
        if (port_.bytes_waiting() > 0)
            return true;
        port_.wait_readable(static_cast<int>(limit_ms - elapsed) + 1);
    }
}
