// Turns an inventory item into its picture and writes the whole set.
#pragma once

#include <QImage>
#include <QString>

#include "inventory.h"

namespace artwork {

// The finished picture at its exact size, or a null image with *error set.
QImage renderItem(const Item &item, QString *error);

// Writes every inventory item below root (resources/pictures, bmp,
// resources/icons). Stops at the first failure and says why.
bool writeAll(const QString &root, QString *error);

// Files in the generator's folders below root that the inventory does not
// know: left-overs of renamed pictures, reported so someone removes them.
QStringList strayFiles(const QString &root);

} // namespace artwork
