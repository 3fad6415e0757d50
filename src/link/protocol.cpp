#include "link/protocol.h"

#include <algorithm>

namespace protocol {

QString render_value(int value)
{
    value = std::clamp(value, 0, 999);
    return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0'));
}

QString command(const QString& mnemonic, int value)
{
    return mnemonic + render_value(value);
}

int read_value(const QString& reply)
{
    if (reply == kNone)
        return 0;
    const QString field = reply.right(3);
    int value = 0;
    for (const QChar c : field) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n'))
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString mnemonic(const QString& message)
{
    return message.left(3);
}

QByteArray to_wire(const QString& message)
{
    return message.toLatin1();
}

QString from_wire(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes);
}

bool expects_ready(const QString& command)
{
    static const QString slow[] = {QStringLiteral("PWR001"), QStringLiteral("ZOM001"),
                                   QStringLiteral("ZOM000"), QStringLiteral("RST000"),
                                   QStringLiteral("RST003"), QStringLiteral("PAT000")};
    return std::find(std::begin(slow), std::end(slow), command) != std::end(slow);
}

}  // namespace protocol
