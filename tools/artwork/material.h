// The materials the two skins are made of. Both skins share every shape; only
// these colours differ, which is what makes them look like one product.
#pragma once

#include <QColor>
#include <QString>

namespace artwork {

struct Material {
    QColor corner;       // the background showing through the cut corners
    QColor edge;         // outer outline of a button
    QColor bevelLight, bevelDark;
    QColor faceTop, faceBottom;

    QColor glow, glowInner;          // rim of a highlighted button
    QColor hiFaceTop, hiFaceBottom;

    QColor pressedTop, pressedBottom; // selected tab / chosen cell
    QColor accent;                    // lit indicator, chosen zoom area

    QColor ink, inkHi;        // pictograms
    QColor caption, captionHi;
    QColor shadow;            // drop shadow under pictograms
    int shadowAlpha = 150;
};

// Skin "1" (wood) or "2" (flower).
const Material &skinMaterial(const QString &skin);
// Graphite, for the refresh button both skins share.
const Material &neutralMaterial();

// Colour-coded signals, the same in every skin.
namespace signal {
inline QColor red() { return {236, 62, 48}; }
inline QColor redDim() { return {120, 30, 26}; }
inline QColor green() { return {72, 226, 96}; }
inline QColor greenDim() { return {30, 84, 40}; }
inline QColor blue() { return {64, 132, 246}; }
inline QColor yellow() { return {250, 212, 56}; }
inline QColor cyan() { return {110, 220, 250}; }
inline QColor magenta() { return {226, 84, 214}; }
} // namespace signal

// Blend a toward b; t = 0 gives a, t = 1 gives b.
QColor mix(const QColor &a, const QColor &b, double t);

} // namespace artwork
