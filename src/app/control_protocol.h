#pragma once
// The panel's control socket speaks in lines. A client asks:
//
//   SHOW [TOKEN]    bring the panel forward, with the  -> OK
//                   desktop's activation token if any
//   DEVICE          the device the panel is using      -> DEVICE <path> or NODEVICE
//   DEVICE 1        the device behind COM1 (or 2)      -> DEVICE <path>
//   LISTEN          follow the box's own messages      -> OK, then MSG <message> lines
//   CMD PWR001      send a command to the box          -> REPLY <reply or NONE>, and after
//                                                         a command with a ready message
//                                                         READY <message or NONE>
//
// Requests are answered in order. While a request waits for the panel's own
// routines its client hears WAIT each second. The panel may also say
// LOST <reason> (its port is gone), HELD <text> (a command held up by a box
// that waits for the user, dropped unsent) or ERROR <text>; after any of
// these it closes the connection.
// A request is one line of at most 256 bytes (a desktop's activation token
// may be long); anything else is an error.
// Pure functions and a reader, no sockets, so they can be tried on any input.

#include <QByteArray>
#include <QString>
#include <optional>

namespace control {

inline constexpr int kMaxRequestBytes = 256;
// Answers carry device paths, so a client reads longer lines.
inline constexpr int kMaxAnswerBytes = 8192;

// Splits a byte stream into lines of at most `max_line` bytes (the line end
// not counted). A longer line is an error, found as soon as the limit is
// passed, so a stream without line ends is never buffered.
class LineReader {
public:
    explicit LineReader(int max_line = kMaxRequestBytes) : max_line_(max_line) {}

    void feed(const QByteArray& bytes);
    // The next complete line without "\n" or "\r\n", if there is one.
    std::optional<QByteArray> take_line();
    // A line was too long: the reader takes nothing more.
    bool failed() const { return failed_; }
    qsizetype buffered() const { return buffer_.size(); }

private:
    int max_line_;
    QByteArray buffer_;
    bool failed_ = false;
};

enum class RequestKind { Show, Device, Listen, Command };

struct Request {
    RequestKind kind = RequestKind::Show;
    int com = 0;      // DEVICE 1 or 2; 0: the device in use
    QString command;  // CMD: three capital letters and three digits
    QString token;    // SHOW: the activation token the desktop gave the second start
};

// A request, or nothing with the reason in `error`.
std::optional<Request> parse_request(const QByteArray& line, QString& error);

// Three capital letters and three digits.
bool is_command(const QString& text);

// Whether `token` can travel in a SHOW request: printable ASCII (GNOME's
// carry the application's name, blanks and all), and short enough for a
// request line.
bool is_activation_token(const QByteArray& token);

// One answer line, "WORD text\n"; control characters in the text become
// '?', so a strange device name cannot break the framing.
QByteArray answer_line(const char* word, const QString& text = QString());

// One answer line split into its word and text.
struct Answer {
    QByteArray word;
    QString text;
};
Answer split_answer(const QByteArray& line);

// The same device under any of its names (links resolved), so a script and
// the panel agree whether they mean one device.
QString canonical_device(const QString& path);

}  // namespace control
