#include "panel/label_layout.h"

#include "core/shared_state.h"
#include "panel/pages.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "platform/desktop.h"

#include <QLabel>

void set_label_caption(QLabel* label, const QString& text)
{
    label->setText(text);
    if (label->property("autosize").toBool())
        label->adjustSize();
}

void set_label_align(QLabel* label, Align align)
{
    switch (align) {
    case Align::Left: label->setAlignment(Qt::AlignLeft | Qt::AlignTop); break;
    case Align::Right: label->setAlignment(Qt::AlignRight | Qt::AlignTop); break;
    case Align::Centre: label->setAlignment(Qt::AlignHCenter | Qt::AlignTop); break;
    }
}

void set_label_autosize(QLabel* label, bool on)
{
    label->setProperty("autosize", on);
    if (on)
        label->adjustSize();
}

Twips panel_twips(const Panel& p)
{
    return {p.desktop.twips_per_pixel_x(), p.desktop.twips_per_pixel_y()};
}

double layout_twips(const Panel& p, double twips)
{
    return twips * p.st.panel_scale;
}

void begin_page(Panel& p, const QString& title, int page)
{
    p.el.lab_panel->setText(title);
    p.st.current_page = page;
    set_button_visible(p, buttons::about, false);
    show_panel_icons(p, false);
    set_button_visible(p, buttons::back, true);
}
