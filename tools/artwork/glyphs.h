// Pictograms for the skin pictures. Each draws onto a transparent layer the
// size of the button; the face rectangle tells where the pictogram may go.
#pragma once

#include <QRect>
#include <QString>

#include "glyphkit.h"

namespace artwork {

// The 39 x 27 function keys, the tabs among them. cx is the column the
// pictogram and its caption centre on.
bool drawKeyGlyph(Kit &k, const QString &stem, const QRect &face, int cx);

// Window buttons, arrow pad, port buttons, zoom cells, connection indicator.
bool drawSmallGlyph(Kit &k, const QString &stem, const QRect &face);

// Shared pieces also used outside the skins.
void drawTwinArrows(Kit &k, double cx, double cy, double r, const QColor &c, double width);

} // namespace artwork
