#pragma once
#include <cmath>

// Pixel and twips values round to the nearest integer, halves to the even
// neighbour (2.5 -> 2, 3.5 -> 4), as the drawing arithmetic expects.
inline long round_half_even(double v)
{
    return static_cast<long>(std::nearbyint(v));  // default FE_TONEAREST
}
