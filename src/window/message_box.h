#pragma once
// The panel's one kind of dialog, a message with an OK button: kept on the
// screen whatever it says, and reported on standard error when nobody is
// there to answer it (a request to end at logout).

#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

// Shortens every unbroken run (a path, typically) longer than `max_run`
// characters to its beginning and end around an ellipsis, and a text longer
// than `max_text` likewise, so a box never outgrows the screen.
QString fit_for_box(const QString& text, int max_run = 160, int max_text = 2000);

// A warning box with an OK button showing the fitted texts.
std::unique_ptr<QMessageBox> make_message_box(QWidget* parent, const QString& title, const QString& text,
                                              const QString& detail);

// Rejects every open modal dialog, so nothing waits for an answer.
void close_modal_dialogs();

// The message of a box that nobody answers, on standard error.
void report_unanswered(const QString& text, const QString& detail);
