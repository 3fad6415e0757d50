// The magnifier's button strip: what a click on each button does, and the
// highlight of refresh and close under the pointer.

#include "magnifier/frm_mag.h"

#include "magnifier/strip_button.h"
#include "magnifier/strip_design.h"

#include <QPointer>

void FrmMag::show_opening_pictures()
{
    img_ico_[0]->show_picture(strip_picture(0, true));
    img_ico_[1]->show_picture(strip_picture(1, false));
    img_ico_[2]->show_picture(strip_picture(2, true));
    img_ico_[3]->show_picture(strip_picture(3, false));
    img_ico_[4]->show_picture(strip_picture(4, false));
    img_ico_[5]->show_picture(strip_picture(5, false));
}

void FrmMag::img_ico_Click(int index)
{
    // A click that arrives while a sequence is still running waits its turn
    // by being ignored: the user can click again.
    if (busy_ || closing_)
        return;
    switch (index) {
    case 0:
        if (zoom_ != 1.5f) {
            img_ico_[0]->show_picture(strip_picture(0, true));
            img_ico_[1]->show_picture(strip_picture(1, false));
            zoom_ = 1.5f;
            draw_magnified();
        }
        break;
    case 1:
        if (zoom_ != 2.0f) {
            img_ico_[0]->show_picture(strip_picture(0, false));
            img_ico_[1]->show_picture(strip_picture(1, true));
            zoom_ = 2.0f;
            draw_magnified();
        }
        break;
    case 2:
        if (!small_view_) {
            img_ico_[2]->show_picture(strip_picture(2, true));
            img_ico_[3]->show_picture(strip_picture(3, false));
            small_view_ = true;
            layout_magnifier();
        }
        break;
    case 3:
        if (small_view_) {
            img_ico_[2]->show_picture(strip_picture(2, false));
            img_ico_[3]->show_picture(strip_picture(3, true));
            small_view_ = false;
            layout_magnifier();
        }
        break;
    case 4:
        refresh();
        break;
    case 5:
        close();
        break;
    default:
        break;
    }
}

void FrmMag::img_ico_MouseMove(int index)
{
    if (index == hover_icon_)
        return;
    if (hover_icon_ == 4)
        img_ico_[4]->show_picture(strip_picture(4, false));
    else if (hover_icon_ == 5)
        img_ico_[5]->show_picture(strip_picture(5, false));
    hover_icon_ = index;
    if (index == 4)
        img_ico_[4]->show_picture(strip_picture(4, true));
    else if (index == 5)
        img_ico_[5]->show_picture(strip_picture(5, true));
}

void FrmMag::lab_frame_MouseMove()
{
    if (hover_icon_ == 99)
        return;
    img_ico_[4]->show_picture(strip_picture(4, false));
    img_ico_[5]->show_picture(strip_picture(5, false));
    hover_icon_ = 99;
}

