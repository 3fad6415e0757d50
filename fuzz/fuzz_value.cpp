// Rendering and reading values: a command is always six characters, a
// rendered value always three digits, a value read from any text 0..999.
//
// Input: the first four bytes are a value to render (little-endian, any
// int); all of the input is also read as a reply, once byte by byte and once
// as UTF-16, so characters beyond Latin-1 reach the reader too.

#include "link/protocol.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

bool three_digits(const QString& s)
{
    if (s.size() != 3)
        return false;
    for (const QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

void check_reply(const QString& reply)
{
    const int v = protocol::read_value(reply);
    check(v >= 0 && v <= 999, "a value read from any text lies in 0..999");
    check(protocol::mnemonic(reply) == reply.left(3), "the mnemonic is the first three characters");
    if (reply.size() == protocol::kMessageLength && three_digits(reply.right(3)))
        check(protocol::render_value(v) == reply.right(3), "a reply's digits read back as they were");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));

    if (size >= 4) {
        int32_t value;
        std::memcpy(&value, data, sizeof value);
        const QString rendered = protocol::render_value(value);
        check(three_digits(rendered), "a rendered value is three digits");
        const int read = protocol::read_value(QStringLiteral("XYZ") + rendered);
        check(read == std::clamp<int32_t>(value, 0, 999), "a rendered value reads back, clamped");
        const QString mnemonic = protocol::from_wire(bytes.mid(4, 3)).leftJustified(3, QLatin1Char('A'));
        const QString cmd = protocol::command(mnemonic, value);
        check(cmd.size() == protocol::kMessageLength, "a command is six characters");
        check(protocol::to_wire(cmd).size() == protocol::kMessageLength, "a command is six bytes");
        check(protocol::mnemonic(cmd) == mnemonic, "a command starts with its mnemonic");
    }

    const QString latin = protocol::from_wire(bytes);
    check(latin.size() == bytes.size(), "one character per byte");
    check(protocol::to_wire(latin) == bytes, "bytes survive the round trip");
    check_reply(latin);

    QString wide(static_cast<int>(size / 2), Qt::Uninitialized);
    std::memcpy(wide.data(), data, (size / 2) * 2);
    check_reply(wide);
    return 0;
}
