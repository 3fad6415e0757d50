#include "panel/pages.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/button_catalogue.h"
#include "panel/button_pictures.h"
#include "widgets/option_label.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "widgets/picture_button.h"

#include <QScrollBar>

void set_button_visible(Panel& p, int ind, bool visible)
{
    if (PictureButton* b = button_at(p, ind))
        b->setVisible(visible);
}

void set_button_enabled(Panel& p, int ind, bool enabled)
{
    if (PictureButton* b = button_at(p, ind))
        b->setEnabled(enabled);
}

void show_zoom_areas_unselected(Panel& p)
{
    for (int area = 1; area <= 9; ++area)
        set_button_picture(p, buttons::zoom_area_button(area), catalogue::zoom_picture(p.st.panel_skin, area, false, 0));
}

void lock_power_and_magnifier(Panel& p, bool locked)
{
    set_button_enabled(p, buttons::power, !locked);
    set_button_enabled(p, buttons::magnifier, !locked);
}

void show_main_panel(Panel& p)
{
    p.el.lab_panel->setText(QStringLiteral("MAIN PANEL"));
    for (QLabel* label : p.el.lab_text)
        label->hide();
    for (int i = buttons::back; i <= buttons::video_reset; ++i)
        set_button_visible(p, i, false);
    for (int i = buttons::first_zoom_area; i <= buttons::last_zoom_area; ++i)
        set_button_visible(p, i, false);
    for (OptionLabel* label : p.el.lab_opt)
        label->hide();
    for (QScrollBar* slider : p.el.hsr_video)
        slider->hide();
    set_button_visible(p, buttons::about, true);
    show_panel_icons(p, true);
    p.st.current_page = pages::main;
}

void show_panel_icons(Panel& p, bool visible)
{
    for (int i = buttons::sys_reset; i <= buttons::video; ++i)
        set_button_visible(p, i, visible);
    set_button_visible(p, buttons::power, visible);
    set_button_visible(p, buttons::aspect, visible);
}

// Power is never disabled here, and the magnifier stays usable while
// the box is off or silent.
void enable_icons(Panel& p, bool enabled)
{
    for (int i = buttons::sys_reset; i <= buttons::video; ++i)
        set_button_enabled(p, i, enabled);
    set_button_enabled(p, buttons::aspect, enabled);
    if (!enabled)
        set_button_enabled(p, buttons::magnifier, true);
}

void show_zoom_panel(Panel& p)
{
    p.el.lab_panel->setText(QStringLiteral("ZOOM PANEL"));
    p.st.current_page = pages::zoom;
    show_zoom_areas_unselected(p);
    set_button_visible(p, buttons::about, false);
    show_panel_icons(p, false);
    for (int i = buttons::back; i <= buttons::centre; ++i)
        set_button_visible(p, i, true);
    for (int i = buttons::first_zoom_area; i <= buttons::last_zoom_area; ++i)
        set_button_visible(p, i, true);
    const Reply area = p.link.tx_cmd(QStringLiteral("ARA999"));
    if (!area.answered())
        return;
    p.st.zoom_area = area.value();
    on_off_ico(p, buttons::zoom_area_button(p.st.zoom_area), false);
}
