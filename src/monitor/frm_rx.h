#pragma once
// frm_rx, the receive monitor: shows the device link's receive log, every
// message collected from the box. CLEAR empties it; "big win" and
// "small win" switch its width.

#include "monitor/log_wrap.h"

#include <QWidget>
#include <array>

class Desktop;
class ReceiveLog;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class FrmRx : public QWidget {
    Q_OBJECT
public:
    FrmRx(ReceiveLog& log, Desktop& desktop);

    // Shows what the log gained since the last call; the view follows the
    // newest entry unless the user has scrolled up.
    void sync_log();

    QPlainTextEdit* txt_test() const { return txt_test_; }
    QPushButton* cmd_clear() const { return cmd_clear_; }
    QRadioButton* opt_win(int i) const { return opt_win_[i]; }

    void clear_log();
    void set_big(bool big);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int columns() const;

    ReceiveLog& log_;
    Desktop& desktop_;
    QPlainTextEdit* txt_test_;
    QPushButton* cmd_clear_;
    std::array<QRadioButton*, 2> opt_win_{};
    quint64 shown_revision_ = 0;
    qsizetype shown_length_ = 0;
    LogWrap wrap_;
};
