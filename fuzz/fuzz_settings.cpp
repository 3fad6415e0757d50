// The settings file reader on arbitrary bytes: it never fails, it fills the
// fields only in order, and what it reads it writes back the same way.
//
// Input: the whole input is read as a settings file; the same bytes,
// reinterpreted as five numbers, are written and read back.

#include "window/settings_file.h"

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

bool same(const StoredSettings& a, const StoredSettings& b)
{
    return a.skin == b.skin && a.com_port == b.com_port && a.left == b.left && a.top == b.top
        && a.on_top == b.on_top;
}

void check_round_trip(int skin, int com_port, qint32 left, qint32 top, bool on_top)
{
    const StoredSettings back = parse_settings(format_settings(skin, com_port, left, top, on_top));
    check(back.complete(), "a written record reads back complete");
    check(*back.skin == skin && *back.com_port == com_port && *back.left == left && *back.top == top
              && *back.on_top == on_top,
          "a written record reads back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const StoredSettings s = parse_settings(text);

    // A field is set only when every field before it is.
    check(!s.com_port || s.skin, "port only after skin");
    check(!s.left || s.com_port, "left only after port");
    check(!s.top || s.left, "top only after left");
    check(!s.on_top || s.top, "on top only after top");
    // Skin and port are read as 16-bit numbers.
    check(!s.skin || (*s.skin >= -32768 && *s.skin <= 32767), "skin is a 16-bit number");
    check(!s.com_port || (*s.com_port >= -32768 && *s.com_port <= 32767), "port is a 16-bit number");

    if (s.complete()) {
        check_round_trip(*s.skin, *s.com_port, *s.left, *s.top, *s.on_top);
        // Reading is deterministic and the file's line ending does not matter.
        check(same(parse_settings(text), s), "reading twice gives the same");
        check(same(parse_settings(text + "\r\n"), s), "a trailing line end changes nothing");
    }

    if (size >= 13) {
        int16_t skin, port;
        int32_t left, top;
        std::memcpy(&skin, data, 2);
        std::memcpy(&port, data + 2, 2);
        std::memcpy(&left, data + 4, 4);
        std::memcpy(&top, data + 8, 4);
        check_round_trip(skin, port, left, top, data[12] & 1);
    }
    return 0;
}
