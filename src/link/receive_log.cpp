#include "link/receive_log.h"

ReceiveLog::ReceiveLog(int capacity) : capacity_(capacity) {}

void ReceiveLog::append(const QString& entry)
{
    text_ += entry;
    text_ += QLatin1Char(' ');
    if (text_.size() <= capacity_)
        return;
    // Trim to three quarters at an entry boundary, so trimming is rare and
    // the log never starts in the middle of an entry.
    qsizetype cut = text_.size() - capacity_ * 3 / 4;
    const qsizetype blank = text_.indexOf(QLatin1Char(' '), cut - 1);
    cut = blank < 0 ? text_.size() : blank + 1;
    text_.remove(0, cut);
    ++revision_;
}

void ReceiveLog::clear()
{
    text_.clear();
    ++revision_;
}
