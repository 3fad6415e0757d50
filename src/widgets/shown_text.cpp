#include "widgets/shown_text.h"

QString displayed_text(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) {
            out += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
            out += QLatin1Char('&');
            ++i;
        }
    }
    return out;
}
