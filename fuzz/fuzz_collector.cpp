// The reply collector on virtual time, fed arbitrary chunks and gaps.
//
// Input: a two-byte header, then records.
//   byte 0, mode:  bits 0-1  0 tx_cmd, 1 tx_val2str, 2 rx_rdy, 3 poll ticks only
//                  bit 2     the first event pass runs a COM button: it reopens the
//                            port as COM2 (bit 4 set) or fails on a missing COM3
//                  bit 3     a poll tick's action sends a command and waits for
//                            a ready message, as the dispatcher does
//                  bit 5     the line is stuck: pending output never leaves
//   byte 1:        value for tx_val2str, signed, times 5 (exercises clamping)
//   records:       delay (2 bytes, little-endian, modulo 6001 ms after the
//                  previous arrival), then a length byte: 0xFF unplugs the
//                  device at that time, otherwise its low 6 bits give the
//                  number of bytes that follow and arrive at that time.
// After the operation, poll ticks collect whatever is still scheduled.

#include "core/shared_state.h"
#include "fake_port.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "recording_observer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// A wait of up to N ms ends at the first reading past N.
constexpr qint64 kGap = DeviceLink::kReplyGapMs + 1;
// A collection: the unbroken-stream cap, plus the one gap that may be running
// when the cap is reached.
constexpr qint64 kCollect = DeviceLink::kMaxCollectMs + kGap;
constexpr qint64 kReplyBound = kGap + kCollect;
constexpr qint64 kReadyBound = DeviceLink::kReadyWaitMs + 1 + kCollect;

bool is_message(const QString& s)
{
    return s == protocol::kNone || s.size() == protocol::kMessageLength;
}

struct Rig {
    VirtualClock clock;
    FakePort port{clock};
    RecordingObserver obs{&clock};
    SharedState state;
    DeviceLink link{port, clock, obs, state};
    Rig() { link.add_observer(obs); }
    int records = 0;
    bool stuck_line = false;

    // Checks what every reply wait leaves behind: `reply` is the field it
    // filled, `log_before` the number of log entries before it ran.
    void check_collection(const QString& reply, int log_before)
    {
        check(is_message(reply), "a collected field is NONE or six characters");
        check(!obs.connects.empty() && obs.connects.back() == (reply != protocol::kNone),
              "the indicator shows whether a message came");
        const int added = obs.log.size() - log_before;
        check(added == 0 || added == 1, "one log entry at most per collection");
        if (added == 1)
            check(obs.log.back() == reply, "the log entry is the collected field");
        else
            check(reply == protocol::kNone, "a received message is logged");
    }

    // After each step: bounded, and the newest entry at the end. `whole`
    // compares everything once, at the end.
    void check_log(bool whole = false)
    {
        const QString& text = link.receive_log().text();
        check(text.size() <= ReceiveLog::kDefaultCapacity, "the receive log stays bounded");
        if (obs.log.isEmpty()) {
            check(text.isEmpty(), "nothing collected, nothing logged");
            return;
        }
        check(is_message(obs.log.back()), "log entries are NONE or six characters");
        check(text.endsWith(obs.log.back() + ' '), "the newest entry ends the receive log");
        if (whole && link.receive_log().revision() == 0)
            check(text == obs.log.join(' ') + ' ', "the receive log holds every entry followed by a blank");
    }

    // Waits on the port are bounded by the arrivals: a spinning wait shows here.
    void check_waits(int waits_before)
    {
        check(port.waits - waits_before <= 2 * records + 8, "waits block; they do not spin");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t mode = data[0];
    const int value = static_cast<int8_t>(data[1]) * 5;

    Rig rig;
    rig.link.set_comm();
    check(rig.state.port_open && rig.obs.timer_on, "COM1 opens");

    const qint64 t0 = rig.clock.now;
    qint64 at = t0;
    for (size_t i = 2; i + 3 <= size;) {
        at += (data[i] | (data[i + 1] << 8)) % 6001;
        const uint8_t len_byte = data[i + 2];
        i += 3;
        ++rig.records;
        if (len_byte == 0xFF) {
            if (rig.port.unplug_at < 0)
                rig.port.unplug_at = at;
            continue;
        }
        const size_t len = std::min<size_t>(len_byte & 0x3F, size - i);
        rig.port.arrive_at(at, QByteArray(reinterpret_cast<const char*>(data + i), static_cast<int>(len)));
        i += len;
    }

    if (mode & 0x20) {
        rig.stuck_line = true;
        rig.port.pending_output = 6;
        rig.port.drain_at_ms = std::numeric_limits<qint64>::max();
    }
    const qint64 drain = rig.stuck_line ? DeviceLink::kDrainMs : 0;

    if (mode & 0x04) {
        rig.obs.on_events = [&rig, fired = false, mode]() mutable {
            if (fired)
                return;
            fired = true;
            rig.state.com_port = (mode & 0x10) ? 2 : 3;
            rig.link.set_comm();
        };
    }

    const auto waits0 = rig.port.waits;
    const int log0 = rig.obs.log.size();
    Reply reply;
    switch (mode & 0x03) {
    case 0:
        reply = rig.link.tx_cmd(QStringLiteral("PWR999"));
        break;
    case 1: {
        QString cmd = QStringLiteral("CON");
        reply = rig.link.tx_val2str(cmd, value);
        check(cmd.size() == protocol::kMessageLength || (cmd == "CON" && !rig.state.port_open),
              "tx_val2str builds a six-character command");
        break;
    }
    case 2:
        reply = rig.link.rx_rdy();
        check(rig.clock.now - t0 <= kReadyBound, "the ready wait keeps its time limits");
        break;
    default:
        break;
    }
    if ((mode & 0x03) != 3) {
        rig.check_collection(reply.text, log0);
        rig.check_waits(waits0);
        if ((mode & 0x03) != 2) {
            check(rig.clock.now - t0 <= drain + kReplyBound, "a reply wait keeps its time limits");
            check(rig.obs.timer_on == rig.state.port_open, "the poll timer runs again after a send");
            for (const QString& w : rig.port.written)
                check(w.size() == protocol::kMessageLength, "every write is six bytes");
        }
    }
    rig.check_log();

    // Then the poll timer collects whatever the box still sends.
    const bool act_sends = mode & 0x08;
    for (int n = 0; n < rig.records + 4 && rig.state.port_open; ++n) {
        const qint64 next = rig.port.next_arrival();
        if (next < 0)
            break;
        rig.clock.now = std::max(rig.clock.now, next);
        const qint64 start = rig.clock.now;
        const auto waits = rig.port.waits;
        const int log_before = rig.obs.log.size();
        bool acted = false;
        const bool collected = rig.link.poll_tick([&](const QString& mnemonic, int v) {
            check(mnemonic.size() == 3, "a mnemonic has three characters");
            check(v >= 0 && v <= 999, "a message value lies in 0..999");
            check(!rig.link.dispatch_idle(), "the action runs while the dispatcher is busy");
            check(rig.obs.connects.back(), "the indicator is on for a message");
            if (!act_sends)
                return;
            acted = true;
            int before = rig.obs.log.size();
            rig.check_collection(rig.link.tx_cmd(QStringLiteral("ZOM001")).text, before);
            check(!rig.obs.timer_on, "a send from the dispatcher leaves the poll timer off");
            before = rig.obs.log.size();
            rig.check_collection(rig.link.rx_rdy().text, before);
        });
        if (!collected)
            continue;
        check(rig.link.dispatch_idle(), "the dispatcher is idle after a tick");
        check(rig.obs.timer_on == rig.state.port_open, "the poll timer runs again after a tick");
        const qint64 bound = kCollect + (acted ? drain + kReplyBound + kReadyBound : 0);
        check(rig.clock.now - start <= bound, "a poll tick keeps its time limits");
        const QString message = rig.obs.own.back();
        check(is_message(message), "the collected message is NONE or six characters");
        if (!acted) {
            rig.check_collection(message, log_before);
            check(rig.obs.log.size() == log_before + 1, "every poll collection is logged");
        }
        rig.check_waits(waits);
        rig.check_log();
    }
    rig.check_log(true);
    return 0;
}
