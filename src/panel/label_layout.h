#pragma once
// Label properties as the pages set them: caption, alignment, auto-size and
// positions in twips.

#include "widgets/twips.h"

#include <QString>

class QLabel;
struct Panel;

enum class Align { Left, Right, Centre };

// The caption; an auto-sized label grows or shrinks to it.
void set_label_caption(QLabel* label, const QString& text);
void set_label_align(QLabel* label, Align align);
// Auto-size on fits the label to its caption at once; off keeps its size.
void set_label_autosize(QLabel* label, bool on);

// Twips per pixel of the panel's screen.
Twips panel_twips(const Panel& p);

// The shared scale of the layout: twips × panel_scale.
double layout_twips(const Panel& p, double twips);

// Opening of a sub-page: title, page identifier, button 3 and the main
// group hidden, the return button shown.
void begin_page(Panel& p, const QString& title, int page);
