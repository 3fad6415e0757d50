// The pointer shown while dragging the magnifier: a grabbing hand on the key
// colour that the program makes transparent. Hot spot at the centre.
#pragma once

#include <QColor>
#include <QImage>

namespace artwork {

inline QColor pointerKeyColour() { return {255, 0, 255}; }

QImage renderDragPointer();

} // namespace artwork
