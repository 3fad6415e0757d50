// Whether a freshly drawn picture is the committed one. The generator gives
// the same files on every machine it was tried on; the small allowance
// here covers a drawing code path of Qt's that might still round an
// anti-aliased edge differently on some other processor.
#pragma once

#include <QImage>
#include <QString>

namespace artwork {

// How far, per channel, a pixel on an edge may be off. A pixel whose
// neighbours in the committed picture all share its colour must match.
constexpr int kEdgeNoiseLevels = 2;

// Empty when `fresh` is `committed` up to edge noise; otherwise how they
// differ, for the person who changed the artwork.
QString pictureDifference(const QImage &committed, const QImage &fresh);

} // namespace artwork
