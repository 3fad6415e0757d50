#pragma once
// Every message collected from the box, each followed by one blank. Bounded:
// a chatty or noisy box cannot grow it without end; the oldest entries go.

#include <QString>

class ReceiveLog {
public:
    static constexpr int kDefaultCapacity = 256 * 1024;

    explicit ReceiveLog(int capacity = kDefaultCapacity);

    void append(const QString& entry);
    void clear();

    const QString& text() const { return text_; }
    // Changes whenever text was removed (trim or clear), so a view that
    // appends incrementally knows it must reload the whole text.
    quint64 revision() const { return revision_; }

private:
    int capacity_;
    QString text_;
    quint64 revision_ = 0;
};
