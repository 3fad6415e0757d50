#pragma once
// How a label shows a caption: "&&" is one ampersand, a single "&" marks a
// mnemonic and is not shown. Pure, no widgets.

#include <QString>

QString displayed_text(const QString& caption);
