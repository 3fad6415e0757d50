// The body every button shares: outline, bevel and face, in three looks.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include "material.h"

namespace artwork {

enum class Look {
    Normal,
    Highlight, // pointer over it: brighter face, glowing rim
    Pressed,   // selected tab / chosen toggle: sunk in, accent tinted
};

inline Look lookForState(int state)
{
    return state == 1 ? Look::Highlight : state == 2 ? Look::Pressed : Look::Normal;
}

// The area inside outline and bevel, where pictograms go.
inline QRect faceRect(QSize size) { return QRect(2, 2, size.width() - 4, size.height() - 4); }

QImage drawBody(const Material &m, QSize size, Look look);

// Composes a transparent pictogram layer (same size as the button) onto it,
// with a one-pixel drop shadow clipped to the face. Pressed buttons get the
// pictogram nudged down-right, as if pushed in.
void compositeGlyph(QImage &button, const QImage &layer, const Material &m, Look look,
                    bool shadow = true);

// A transparent ARGB layer to draw a pictogram on.
QImage blankLayer(QSize size);

} // namespace artwork
