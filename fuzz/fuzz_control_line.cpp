// The control socket's line reader and request parser on any bytes, in any
// chunks: lines come out exactly as a plain split would give them, none
// longer than 256 bytes, a longer one stops the reader for good, nothing
// unread piles up, and every request it accepts is well formed.
//
// Input: the first byte sets the chunk size (1 to 67); the rest is the
// stream a client sends.

#include "app/control_protocol.h"

#include <QByteArrayList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// What the reader should give: whole lines until one is too long.
void expected_lines(const QByteArray& stream, QByteArrayList& lines, bool& fails)
{
    fails = false;
    qsizetype from = 0;
    for (;;) {
        const qsizetype end = stream.indexOf('\n', from);
        const qsizetype length = (end < 0 ? stream.size() : end) - from;
        if (length > control::kMaxRequestBytes) {
            fails = true;
            return;
        }
        if (end < 0)
            return;
        QByteArray line = stream.mid(from, length);
        if (line.endsWith('\r'))
            line.chop(1);
        lines << line;
        from = end + 1;
    }
}

void check_request(const QByteArray& line)
{
    QString error;
    const auto request = control::parse_request(line, error);
    check(request.has_value() == error.isEmpty(), "a request is either read or refused with a reason");
    if (!request)
        return;
    if (request->kind == control::RequestKind::Command)
        check(control::is_command(request->command) && "CMD " + request->command.toLatin1() == line,
              "a command is exactly what the line names");
    if (request->kind == control::RequestKind::Device)
        check(request->com >= 0 && request->com <= 2, "DEVICE names COM1, COM2 or the one in use");
    const QByteArray answer = control::answer_line("REPLY", QString::fromLatin1(line));
    check(answer.endsWith('\n') && answer.count('\n') == 1, "an answer is one line");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int chunk = 1 + data[0] % 67;
    const QByteArray stream(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));

    control::LineReader reader;
    QByteArrayList got;
    for (qsizetype at = 0; at < stream.size(); at += chunk) {
        reader.feed(stream.mid(at, chunk));
        while (const auto line = reader.take_line()) {
            check(line->size() <= control::kMaxRequestBytes, "no line is longer than the limit");
            got << *line;
        }
        check(reader.buffered() <= control::kMaxRequestBytes, "nothing unread piles up");
    }
    QByteArrayList lines;
    bool fails = false;
    expected_lines(stream, lines, fails);
    check(reader.failed() == fails, "a line too long stops the reader, and only that");
    check(got == lines, "lines come out as a plain split gives them");
    for (const QByteArray& line : got)
        check_request(line);
    return 0;
}
