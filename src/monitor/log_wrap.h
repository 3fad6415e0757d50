#pragma once
// The receive log is one running text; the monitor shows it wrapped at the
// blanks between entries into lines of at most `columns` characters, each a
// line of its own, so appending an entry only ever lays out the last line.

#include <QString>

struct LogWrap {
    int columns = 40;
    int line_length = 0;  // characters on the last line so far

    // `text` as it goes on the end of the view: line breaks where a word
    // wrap would put them, control characters shown as a middle dot.
    QString append(const QString& text);
};
