#pragma once
// A value label of an option line (lab_opt). Its bold attribute says whether
// it is the chosen value; a click reports its index. On a dark skin its text
// gets a light halo so black and red stay readable.

#include <QLabel>

class OptionLabel : public QLabel {
    Q_OBJECT
public:
    OptionLabel(int index, QWidget* parent);
    int index() const { return index_; }
    bool chosen() const { return font().bold(); }
    void set_halo(bool on);
    bool halo() const { return halo_; }

signals:
    void clicked(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int index_;
    bool halo_ = false;
    bool pressed_ = false;
};
