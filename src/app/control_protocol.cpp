#include "app/control_protocol.h"

#include <QFileInfo>

namespace control {

void LineReader::feed(const QByteArray& bytes)
{
    if (!failed_)
        buffer_ += bytes;
}

std::optional<QByteArray> LineReader::take_line()
{
    if (failed_)
        return std::nullopt;
    const qsizetype end = buffer_.indexOf('\n');
    const qsizetype length = end < 0 ? buffer_.size() : end;
    if (length > max_line_) {
        failed_ = true;
        buffer_.clear();
        return std::nullopt;
    }
    if (end < 0)
        return std::nullopt;
    QByteArray line = buffer_.left(end);
    buffer_.remove(0, end + 1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

bool is_command(const QString& text)
{
    if (text.size() != 6)
        return false;
    for (int i = 0; i < 6; ++i) {
        const QChar c = text.at(i);
        const bool ok = i < 3 ? (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                              : (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        if (!ok)
            return false;
    }
    return true;
}

bool is_activation_token(const QByteArray& token)
{
    if (token.isEmpty() || token.size() > kMaxRequestBytes - 5)
        return false;
    for (const char c : token)
        if (c < ' ' || c >= 0x7f)
            return false;
    return true;
}

std::optional<Request> parse_request(const QByteArray& line, QString& error)
{
    Request r;
    if (line == "SHOW" || line.startsWith("SHOW ")) {
        r.kind = RequestKind::Show;
        if (line.size() == 4)
            return r;
        if (is_activation_token(line.mid(5))) {
            r.token = QString::fromLatin1(line.mid(5));
            return r;
        }
        error = QStringLiteral("an activation token is printable ASCII");
        return std::nullopt;
    }
    if (line == "LISTEN") {
        r.kind = RequestKind::Listen;
        return r;
    }
    if (line == "DEVICE" || line == "DEVICE 1" || line == "DEVICE 2") {
        r.kind = RequestKind::Device;
        r.com = line.size() > 6 ? line.back() - '0' : 0;
        return r;
    }
    if (line.startsWith("CMD ")) {
        r.kind = RequestKind::Command;
        r.command = QString::fromLatin1(line.mid(4));
        if (is_command(r.command))
            return r;
        error = QStringLiteral("a command is three capital letters and three digits, e.g. PWR999");
        return std::nullopt;
    }
    error = QStringLiteral("unknown request (SHOW, DEVICE, LISTEN or CMD)");
    return std::nullopt;
}

QByteArray answer_line(const char* word, const QString& text)
{
    QByteArray out(word);
    if (!text.isEmpty()) {
        QByteArray bytes = text.toUtf8();
        for (char& c : bytes)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                c = '?';
        out += ' ' + bytes;
    }
    return out + '\n';
}

Answer split_answer(const QByteArray& line)
{
    const qsizetype blank = line.indexOf(' ');
    if (blank < 0)
        return {line, QString()};
    return {line.left(blank), QString::fromUtf8(line.mid(blank + 1))};
}

QString canonical_device(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

}  // namespace control
