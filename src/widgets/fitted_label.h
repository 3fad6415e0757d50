#pragma once
// A one-line label that narrows its font when the text is wider than the
// label, so a long title or message reads whole instead of being cut off.

#include <QLabel>

class FittedLabel : public QLabel {
    Q_OBJECT
public:
    explicit FittedLabel(QWidget* parent) : QLabel(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};
