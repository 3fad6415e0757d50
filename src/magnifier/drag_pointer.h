#pragma once
// The pointer shown while the magnified picture is dragged.

class PictureStore;
class QCursor;
class QImage;

// `picture` with every pixel of the key colour RGB(255,0,255) made fully
// transparent; everything else opaque.
QImage key_colour_transparent(const QImage& picture);

// The cursor drawn from "m_drag", hot spot at its centre; a four-way move
// arrow when the picture is missing.
QCursor drag_pointer(const PictureStore& pictures);
