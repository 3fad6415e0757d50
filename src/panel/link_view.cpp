#include "panel/link_view.h"

#include "panel/button_pictures.h"
#include "panel/panel.h"
#include "panel/state_sync.h"

void PanelLinkView::connection_seen(bool answered)
{
    show_connect(p_, answered);
}

void PanelLinkView::port_changed()
{
    on_off_ico(p_, buttons::com1, false);
    on_off_ico(p_, buttons::com2, false);
}

void PanelLinkView::synchronise()
{
    resynchronise(p_);
}
