#pragma once
// One enlarged half of the snapshot. It holds no enlarged copy: it paints
// the part of the snapshot it shows, enlarged, where it is exposed, exactly
// as the whole enlargement would have it. Moving it copies no pixels of
// ours, and a 4K snapshot is held once, not three times.

#include <QImage>
#include <QRect>
#include <QWidget>

class HalfPicture : public QWidget {
public:
    explicit HalfPicture(QWidget* parent = nullptr);

    // Shows `source` of `snapshot` (shared, not copied) enlarged to
    // `enlarged`; an empty source shows nothing.
    void show_part(const QImage& snapshot, const QRect& source, const QSize& enlarged);
    bool empty() const { return snapshot_.isNull() || source_.isEmpty(); }
    // The whole enlargement as it paints; null when it shows nothing.
    QImage rendered() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage snapshot_;
    QRect source_;
    QSize enlarged_;
};
