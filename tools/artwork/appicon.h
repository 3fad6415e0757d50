// The application icon: a little television showing colour bars, on a blue
// tile. Drawn as vectors so every size is rendered natively, not scaled.
#pragma once

#include <QImage>

namespace artwork {

// Transparent corners; for the desktop icon set.
QImage renderAppIcon(int size);
// Opaque square tile, for the 24-bit window icon bitmap.
QImage renderWindowIcon(int size);

} // namespace artwork
