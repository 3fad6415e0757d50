// Buttons of the magnifier window's strip, drawn on the strip colour.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include "inventory.h"

namespace artwork {

inline QColor magnifierStripColour() { return {215, 161, 0}; }

// Null image and *error set for an unknown stem.
QImage renderMagnifierButton(const Item &item, QString *error);

} // namespace artwork
