// The three 306 x 118 panel bitmaps: the blue outline the window shape is cut
// from, and the wood and flower backgrounds of the two skins.
#pragma once

#include <QImage>
#include <QString>

namespace artwork {

// skin "1" or "2"; an empty skin gives the blue outline bitmap.
QImage renderPanel(const QString &skin);

// Textures, each filling the whole image; the outline is cut afterwards.
void paintWoodGround(QImage &img);
void paintWalnutBand(QImage &img, int top, int bottom);
void paintNightGround(QImage &img);
void paintFlowers(QImage &img);

} // namespace artwork
