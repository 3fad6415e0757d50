#include "panel/adjustment_pages.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "panel/button_catalogue.h"
#include "panel/panel_ids.h"
#include "panel/button_pictures.h"
#include "panel/pages.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"

#include <QLabel>

namespace {

// Arrows move the picture on the zoom and position pages, size it elsewhere.
bool moves(const Panel& p)
{
    return p.st.current_page == pages::zoom || p.st.current_page == pages::position;
}

QString arrow_command(const Panel& p, int ind, const char* value)
{
    static const char* const directions[] = {"U", "L", "D", "R"};
    return QString::fromLatin1(moves(p) ? "MV" : "SZ") + QString::fromLatin1(directions[ind - buttons::up])
        + QString::fromLatin1(value);
}

}  // namespace

void open_adjustment_page(Panel& p, int ind)
{
    set_button_visible(p, buttons::about, false);
    show_panel_icons(p, false);
    for (int i = buttons::back; i <= buttons::centre; ++i)
        set_button_visible(p, i, true);
    for (int i : {buttons::back, buttons::position_tab, buttons::size_tab})
        set_button_visible(p, i, true);
    select_tab(p, ind == buttons::position ? buttons::position_tab : buttons::size_tab, false);
}

void select_tab(Panel& p, int tab, bool settle)
{
    const bool position = tab == buttons::position_tab;
    set_button_enabled(p, buttons::position_tab, !position);
    set_button_enabled(p, buttons::size_tab, position);
    if (settle)
        p.link.pass_events();
    const bool overscan = p.st.scan_mode == 1;
    const QString& skin = p.st.panel_skin;
    set_button_picture(p, buttons::position_tab,
                       catalogue::skin_picture(skin, overscan ? "2pan" : "2move", position ? 2 : 0));
    set_button_picture(p, buttons::size_tab,
                       catalogue::skin_picture(skin, overscan ? "2expand" : "2size", position ? 0 : 2));
    if (position)
        p.el.lab_panel->setText(overscan ? QStringLiteral("PAN PANEL") : QStringLiteral("POSITION PANEL"));
    else
        p.el.lab_panel->setText(overscan ? QStringLiteral("EXPAND PANEL") : QStringLiteral("SIZE PANEL"));
    p.st.current_page = position ? pages::position : pages::size;
}

void arrow_pressed(Panel& p, int ind)
{
    if (p.st.power_state == 0 || !buttons::is_arrow(ind))
        return;
    p.link.tx_cmd(arrow_command(p, ind, "001"));
}

void arrow_released(Panel& p, int ind)
{
    if (buttons::is_arrow(ind)) {
        p.link.tx_cmd(arrow_command(p, ind, "000"));
        return;
    }
    if (ind != buttons::centre)
        return;
    if (p.st.current_page == pages::zoom)
        p.link.tx_cmd(QStringLiteral("ARA001"));
    else if (p.st.current_page == pages::position)
        p.link.tx_cmd(QStringLiteral("RST001"));
    else
        p.link.tx_cmd(QStringLiteral("RST002"));
}

// The area changes only to one the box confirmed.
void zoom_area_released(Panel& p, int ind)
{
    QString cmd = QStringLiteral("ARA");
    const int confirmed = p.link.tx_val2str(cmd, ind - buttons::first_zoom_area + 1).value();
    if (confirmed < 1 || confirmed > 9)
        return;
    p.st.zoom_area = confirmed;
    show_zoom_areas_unselected(p);
}
