#include "panel/adjustment_pages.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "panel/button_catalogue.h"
#include "panel/button_pictures.h"
#include "panel/pages.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"

#include <QLabel>

namespace {

// Arrows move the picture on the zoom and position pages, size it elsewhere.
bool moves(const Panel& p)
{
    return p.st.current_page == 7 || p.st.current_page == 11;
}

QString arrow_command(const Panel& p, int ind, const char* value)
{
    static const char* const directions[] = {"U", "L", "D", "R"};
    return QString::fromLatin1(moves(p) ? "MV" : "SZ") + QString::fromLatin1(directions[ind - 17])
        + QString::fromLatin1(value);
}

}  // namespace

void open_adjustment_page(Panel& p)
{
    set_button_visible(p, 3, false);
    show_panel_icons(p, false);
    for (int i = 16; i <= 21; ++i)
        set_button_visible(p, i, true);
    for (int i : {16, 23, 24})
        set_button_visible(p, i, true);
    select_tab(p, p.st.pressed_button == 11 ? 23 : 24, false);
}

void select_tab(Panel& p, int tab, bool settle)
{
    const bool position = tab == 23;
    set_button_enabled(p, 23, !position);
    set_button_enabled(p, 24, position);
    if (settle)
        p.host.process_events();
    const bool overscan = p.st.scan_mode == 1;
    const QString& skin = p.st.panel_skin;
    set_button_picture(p, 23, catalogue::skin_picture(skin, overscan ? "2pan" : "2move", position ? 2 : 0));
    set_button_picture(p, 24, catalogue::skin_picture(skin, overscan ? "2expand" : "2size", position ? 0 : 2));
    if (position)
        p.el.lab_panel->setText(overscan ? QStringLiteral("PAN PANEL") : QStringLiteral("POSITION PANEL"));
    else
        p.el.lab_panel->setText(overscan ? QStringLiteral("EXPAND PANEL") : QStringLiteral("SIZE PANEL"));
    p.st.current_page = position ? 11 : 12;
}

void arrow_pressed(Panel& p, int ind)
{
    if (p.st.power_state == 0 || ind < 17 || ind > 20)
        return;
    p.link.tx_cmd(arrow_command(p, ind, "001"));
}

void arrow_released(Panel& p, int ind)
{
    if (ind >= 17 && ind <= 20) {
        p.link.tx_cmd(arrow_command(p, ind, "000"));
        return;
    }
    if (ind != 21)
        return;
    if (p.st.current_page == 7)
        p.link.tx_cmd(QStringLiteral("ARA001"));
    else if (p.st.current_page == 11)
        p.link.tx_cmd(QStringLiteral("RST001"));
    else
        p.link.tx_cmd(QStringLiteral("RST002"));
}

// The area changes only to one the box confirmed.
void zoom_area_released(Panel& p, int ind)
{
    QString cmd = QStringLiteral("ARA");
    p.link.tx_val2str(cmd, ind - 29);
    const int confirmed = p.link.get_rx_val();
    if (confirmed < 1 || confirmed > 9)
        return;
    p.st.zoom_area = confirmed;
    show_zoom_areas_unselected(p);
}
