#include "window/message_box.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <cstdio>

namespace {

QString elide_middle(const QString& s, int max)
{
    if (s.size() <= max)
        return s;
    const int head = (max - 1) / 2;
    const int tail = max - 1 - head;
    return s.left(head) + QChar(0x2026) + s.right(tail);
}

}  // namespace

QString fit_for_box(const QString& text, int max_run, int max_text)
{
    QString out;
    static const QRegularExpression run(QStringLiteral("\\S+"));
    qsizetype done = 0;
    for (auto it = run.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(done, m.capturedStart() - done);
        out += elide_middle(m.captured(), max_run);
        done = m.capturedEnd();
    }
    out += text.mid(done);
    return elide_middle(out, max_text);
}

std::unique_ptr<QMessageBox> make_message_box(QWidget* parent, const QString& title, const QString& text,
                                              const QString& detail)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, title, fit_for_box(text), QMessageBox::Ok, parent);
    box->setInformativeText(fit_for_box(detail));
    return box;
}

void close_modal_dialogs()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
}

void report_unanswered(const QString& text, const QString& detail)
{
    std::fprintf(stderr, "%s: %s\n%s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(text),
                 qPrintable(detail));
    std::fflush(stderr);
}
