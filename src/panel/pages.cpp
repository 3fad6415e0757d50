#include "panel/pages.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/button_catalogue.h"
#include "panel/button_pictures.h"
#include "panel/option_label.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "panel/picture_button.h"

#include <QScrollBar>

void set_button_visible(Panel& p, int ind, bool visible)
{
    if (PictureButton* b = button(p, ind))
        b->setVisible(visible);
}

void set_button_enabled(Panel& p, int ind, bool enabled)
{
    if (PictureButton* b = button(p, ind))
        b->setEnabled(enabled);
}

void show_zoom_areas_unselected(Panel& p)
{
    for (int area = 1; area <= 9; ++area)
        set_button_picture(p, 29 + area, catalogue::zoom_picture(p.st.panel_skin, area, false, 0));
}

void lock_power_and_magnifier(Panel& p, bool locked)
{
    set_button_enabled(p, 26, !locked);
    set_button_enabled(p, 8, !locked);
}

void show_main_panel(Panel& p)
{
    p.el.lab_panel->setText(QStringLiteral("MAIN PANEL"));
    for (QLabel* label : p.el.lab_text)
        label->hide();
    for (int i = 16; i <= 25; ++i)
        set_button_visible(p, i, false);
    for (int i = 30; i <= 38; ++i)
        set_button_visible(p, i, false);
    for (OptionLabel* label : p.el.lab_opt)
        label->hide();
    for (QScrollBar* slider : p.el.hsr_video)
        slider->hide();
    set_button_visible(p, 3, true);
    show_panel_icons(p, true);
    p.st.current_page = 99;
}

void show_panel_icons(Panel& p, bool visible)
{
    for (int i = 6; i <= 15; ++i)
        set_button_visible(p, i, visible);
    set_button_visible(p, 26, visible);
    set_button_visible(p, 27, visible);
}

// Power (26) is never disabled here, and the magnifier stays usable while
// the box is off or silent.
void enable_icons(Panel& p, bool enabled)
{
    for (int i = 6; i <= 15; ++i)
        set_button_enabled(p, i, enabled);
    set_button_enabled(p, 27, enabled);
    if (!enabled)
        set_button_enabled(p, 8, true);
}

void show_zoom_panel(Panel& p)
{
    p.el.lab_panel->setText(QStringLiteral("ZOOM PANEL"));
    p.st.current_page = 7;
    p.st.pressed_button = 7;
    show_zoom_areas_unselected(p);
    set_button_visible(p, 3, false);
    show_panel_icons(p, false);
    for (int i = 16; i <= 21; ++i)
        set_button_visible(p, i, true);
    for (int i = 30; i <= 38; ++i)
        set_button_visible(p, i, true);
    p.link.tx_cmd(QStringLiteral("ARA999"));
    if (p.link.last_reply == protocol::kNone)
        return;
    p.st.zoom_area = p.link.get_rx_val();
    on_off_ico(p, p.st.zoom_area + 29, false);
}
