#pragma once
// The video sliders dressed to match the skin: wood and brass for Wood,
// plum and pink for Flower.

#include <QString>

QString slider_style_sheet(const QString& skin);
