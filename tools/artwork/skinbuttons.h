// Skin pictures: a body in the skin's material with its pictogram on top.
#pragma once

#include <QImage>
#include <QString>

#include "inventory.h"

namespace artwork {

// Returns a null image and sets *error for a stem nobody knows how to draw.
QImage renderSkinButton(const Item &item, QString *error);
// The refresh button both skins share.
QImage renderRefresh(const Item &item);

} // namespace artwork
