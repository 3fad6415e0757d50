#pragma once
// The panel's texts name Windows fonts ("Arial", "Courier New", "MS Sans
// Serif"). fonts-liberation gives the first two metric-compatible faces;
// the last has none, so it is mapped once to a face that is there, instead
// of a slow fallback search on every use.

void install_font_substitutes();
