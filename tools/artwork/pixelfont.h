// Small bitmap fonts for button captions and digits. Hand-made pixels
// stay sharp at 5 and 7 px where outline fonts turn to mush, and they render
// the same everywhere.
#pragma once

#include <QColor>
#include <QString>

class QPainter;

namespace artwork::pixelfont {

enum class Face {
    Caption, // 5 px capitals and digits, for the labels under pictograms
    Digits,  // 7 px digits and the few letters the logo and zoom factors need
    Big,     // 11 px bold digits for the zoom areas
};

int height(Face face);
// Width in pixels with one blank column between characters.
int textWidth(Face face, const QString &text, bool bold = false);
// Draws text with its top-left pixel at (x, y). Unknown characters draw as a
// box so a missing glyph shows up in the previews instead of vanishing.
void drawText(QPainter &p, Face face, int x, int y, const QString &text, const QColor &color,
              bool bold = false);
// Centred horizontally on the pixel column cx (odd widths centre exactly).
void drawCentred(QPainter &p, Face face, int cx, int y, const QString &text,
                 const QColor &color, bool bold = false);

} // namespace artwork::pixelfont
