#pragma once
// The message line lab_msg: keeps the caption as written ("Aspect-Pan&&Scan")
// and shows it as a label shows mnemonics ("Aspect-Pan&Scan").

#include "widgets/fitted_label.h"

class MessageLine : public FittedLabel {
    Q_OBJECT
public:
    explicit MessageLine(QWidget* parent) : FittedLabel(parent) {}
    void set_caption(const QString& caption);
    const QString& caption() const { return caption_; }
    // How many captions were written: whether anything wrote since.
    int writes() const { return writes_; }

private:
    QString caption_;
    int writes_ = 0;
};
