#include "panel/option_style.h"

#include "widgets/option_label.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"

void set_opt_style(Panel& p, int ind, bool sel)
{
    if (ind < 0 || ind > 7)
        return;
    OptionLabel* label = p.el.lab_opt[ind];
    QFont font = label->font();
    font.setBold(sel);
    font.setPointSize(sel ? 9 : 8);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, sel ? QColor(231, 0, 0) : QColor(0, 0, 0));
    label->setPalette(palette);
}
