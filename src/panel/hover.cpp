#include "panel/hover.h"

#include "core/shared_state.h"
#include "panel/button_catalogue.h"
#include "panel/button_pictures.h"
#include "panel/captions.h"
#include "widgets/message_line.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"

void show_tip(Panel& p, int ind)
{
    if (const auto text = caption(ind, p.st))
        p.el.lab_msg->set_caption(*text);
}

void hover_button_move(Panel& p, int ind)
{
    if (ind == p.st.hover_button)
        return;
    on_off_ico(p, p.st.hover_button, false);
    p.st.hover_button = ind;
    show_tip(p, ind);
    on_off_ico(p, ind, true);
}

void hover_leave(Panel& p)
{
    if (p.st.hover_button == buttons::none)
        return;
    on_off_ico(p, p.st.hover_button, false);
    p.st.hover_button = buttons::none;
}
