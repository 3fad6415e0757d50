#include "monitor/log_wrap.h"

QString LogWrap::append(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    qsizetype i = 0;
    while (i < text.size()) {
        // One word and the blank after it.
        qsizetype end = text.indexOf(QLatin1Char(' '), i);
        end = end < 0 ? text.size() : end + 1;
        const qsizetype word = end - i - (text[end - 1] == QLatin1Char(' ') ? 1 : 0);
        if (line_length > 0 && line_length + word > columns) {
            out += QLatin1Char('\n');
            line_length = 0;
        }
        for (qsizetype k = i; k < end; ++k) {
            const QChar c = text[k];
            out += c.unicode() < 0x20 || c.unicode() == 0x7f ? QChar(0x00B7) : c;
        }
        line_length += static_cast<int>(end - i);
        i = end;
    }
    return out;
}
