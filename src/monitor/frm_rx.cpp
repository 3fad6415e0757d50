#include "monitor/frm_rx.h"

#include "link/receive_log.h"
#include "widgets/twips.h"
#include "platform/desktop.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

namespace {

#ifdef Q_OS_WIN
constexpr Qt::WindowType kMonitorWindow = Qt::Window;
#else
// Qt makes an X11 tool window without a parent transient for a window that
// is never shown, which mutter logs as invalid; a utility window of its own
// looks the same and needs no owner.
constexpr Qt::WindowType kMonitorWindow = Qt::Window;
#endif

}  // namespace

FrmRx::FrmRx(ReceiveLog& log, Desktop& desktop)
    : QWidget(nullptr, kMonitorWindow), log_(log), desktop_(desktop)
{
    setAttribute(Qt::WA_X11NetWmWindowTypeUtility);
    setWindowTitle(QStringLiteral("Receive Monitor"));
    setAttribute(Qt::WA_DeleteOnClose);
    const Twips tw{desktop.twips_per_pixel_x(), desktop.twips_per_pixel_y()};
    const auto place = [&](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(tw.px_x(left), tw.px_y(top), tw.px_x(width), tw.px_y(height));
    };

    txt_test_ = new QPlainTextEdit(this);
    txt_test_->setReadOnly(true);
    txt_test_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The view breaks the lines itself (LogWrap): no paragraph ever grows long.
    txt_test_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txt_test_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSizeF(9.75);
    txt_test_->setFont(mono);
    place(txt_test_, 90, 120, 4650, 3210);

    cmd_clear_ = new QPushButton(QStringLiteral("CLEAR"), this);
    QFont button_font(QStringLiteral("Courier New"));
    button_font.setStyleHint(QFont::Monospace);
    cmd_clear_->setFont(button_font);
    place(cmd_clear_, 105, 3420, 2325, 360);
    connect(cmd_clear_, &QPushButton::clicked, this, &FrmRx::clear_log);

    QFont option_font(QStringLiteral("MS Sans Serif"));
    option_font.setStyleHint(QFont::SansSerif);
    option_font.setPointSize(8);
    opt_win_[0] = new QRadioButton(QStringLiteral("big win"), this);
    opt_win_[1] = new QRadioButton(QStringLiteral("small win"), this);
    place(opt_win_[0], 2550, 3450, 930, 270);
    place(opt_win_[1], 3600, 3450, 1200, 270);
    for (QRadioButton* option : opt_win_)
        option->setFont(option_font);
    opt_win_[1]->setChecked(true);
    // The checked state decides, however it changed: a click, the keyboard,
    // assistive technology or the program.
    connect(opt_win_[0], &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            set_big(true);
    });
    connect(opt_win_[1], &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            set_big(false);
    });

    setFixedSize(tw.px_x(4860), tw.px_y(3870));
    move(0, 0);
    sync_log();
}

int FrmRx::columns() const
{
    const int char_width = std::max(1, txt_test_->fontMetrics().horizontalAdvance(QLatin1Char('M')));
    const int width = txt_test_->viewport()->width() - 2 * static_cast<int>(txt_test_->document()->documentMargin());
    return std::max(8, width / char_width);
}

void FrmRx::sync_log()
{
    QScrollBar* bar = txt_test_->verticalScrollBar();
    const bool following = bar->value() >= bar->maximum();
    if (log_.revision() != shown_revision_ || log_.text().size() < shown_length_ || wrap_.columns != columns()) {
        wrap_ = LogWrap{columns(), 0};
        txt_test_->setPlainText(wrap_.append(log_.text()));
        shown_revision_ = log_.revision();
    } else if (log_.text().size() > shown_length_) {
        QTextCursor end(txt_test_->document());
        end.movePosition(QTextCursor::End);
        end.insertText(wrap_.append(log_.text().mid(shown_length_)));
    }
    shown_length_ = log_.text().size();
    if (following)
        bar->setValue(bar->maximum());
}

void FrmRx::clear_log()
{
    log_.clear();
    sync_log();
}

// Big: as wide as the screen; small: a third of it.
void FrmRx::set_big(bool big)
{
    const Twips tw{desktop_.twips_per_pixel_x(), desktop_.twips_per_pixel_y()};
    const double screen = desktop_.screen_width_twips();
    const double width = big ? screen : screen / 3;
    setFixedWidth(tw.px_x(width));
    txt_test_->resize(tw.px_x(width - 300), txt_test_->height());
    opt_win_[big ? 0 : 1]->setChecked(true);
    sync_log();  // wrapped again for the new width
}

void FrmRx::closeEvent(QCloseEvent* event)
{
    emit closed();
    event->accept();
}
