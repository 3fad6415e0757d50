#include "panel/skin.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "panel/button_pictures.h"
#include "panel/pages.h"
#include "panel/panel.h"

// Hidden while it changes, so no half-drawn panel shows.
void apply_skin(Panel& p)
{
    p.host.hide_window();
    p.link.pass_events();
    p.host.load_skin_pictures();
    show_connect(p, p.st.port_open);  // a closed port brings no answer
    for (int i = 0; i < buttons::count; ++i)
        on_off_ico(p, i, false);
    show_main_panel(p);
    p.host.show_window();
}
