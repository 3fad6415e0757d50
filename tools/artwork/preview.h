// Composed previews for looking at the artwork in context: the main page and
// the sub-pages of both skins as the panel would show them, plus contact
// sheets of every picture, each also scaled 3x without smoothing.
#pragma once

#include <QString>

namespace artwork {

bool writePreviews(const QString &dir, QString *error);

} // namespace artwork
