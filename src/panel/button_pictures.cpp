#include "panel/button_pictures.h"

#include "core/shared_state.h"
#include "panel/button_catalogue.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "widgets/picture_button.h"

PictureButton* button_at(Panel& p, int ind)
{
    return catalogue::is_button(ind) ? p.el.img_ico[ind] : nullptr;
}

void on_off_ico(Panel& p, int ind, bool on)
{
    PictureButton* b = button_at(p, ind);
    if (!b)
        return;
    b->set_picture(catalogue::picture_name(ind, on, p.st));
}

void set_button_picture(Panel& p, int ind, const QString& name)
{
    if (PictureButton* b = button_at(p, ind))
        b->set_picture(name);
}

void show_connect(Panel& p, bool on)
{
    if (p.el.img_connect)
        p.el.img_connect->set_picture(catalogue::connect_picture(p.st.panel_skin, on));
}
