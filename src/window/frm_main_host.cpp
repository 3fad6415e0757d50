// What the panel's routines ask of the window: showing and hiding it, the
// stacking, the tray, the magnifier, and the one dialog.

#include "window/frm_main.h"

#include "core/shared_state.h"
#include "magnifier/frm_mag.h"
#include "window/message_box.h"
#include "window/panel_tray.h"

#include <QMessageBox>

void FrmMain::show_message(const QString& text, const QString& detail)
{
    if (unattended_) {
        report_unanswered(text, detail);
        return;
    }
    if (env_.message_box) {
        env_.message_box(text, detail);
        return;
    }
    const auto box = make_message_box(this, QString::fromLatin1(kTitle), text, detail);
    open_box_ = box.get();
    const DeviceLink::EventPass pass(link_);  // the routine that asked goes on afterwards
    box->exec();
    open_box_ = nullptr;
    if (unattended_)  // closed by a request to end: nobody read it
        report_unanswered(text, detail);
}

void FrmMain::end_on_request()
{
    unattended_ = true;
    close_modal_dialogs();
    close();
}

void FrmMain::hide_window()
{
    hide();
}

void FrmMain::show_window()
{
    show();
}

void FrmMain::minimize_window()
{
    showMinimized();
}

void FrmMain::close_window()
{
    close();
}

void FrmMain::set_on_top(bool on)
{
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();  // changing a window flag hides the window
}

void FrmMain::enter_tray()
{
    tray_->hide_in_tray();
}

// The panel is hidden already; closing the magnifier shows it again.
void FrmMain::open_magnifier()
{
    if (env_.open_magnifier) {
        env_.open_magnifier();
        return;
    }
    if (!magnifier_) {
        magnifier_ = new FrmMag(st_, *env_.desktop, *env_.pictures);
        connect(magnifier_, &FrmMag::closed, this, [this] {
            show_window();
            magnifier_->deleteLater();
        });
    }
    magnifier_->open();
}
