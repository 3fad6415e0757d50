// Start-up and shut-down of the panel window.

#include "window/frm_main.h"

#include "core/shared_state.h"
#include "magnifier/frm_mag.h"
#include "monitor/frm_rx.h"
#include "panel/button_pictures.h"
#include "widgets/message_line.h"
#include "widgets/option_label.h"
#include "widgets/picture_button.h"
#include "panel/skin.h"
#include "panel/state_sync.h"
#include "platform/desktop.h"
#include "window/com_device_menu.h"
#include "window/panel_tray.h"
#include "window/settings_file.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QScrollBar>

namespace {
constexpr int kDesignWidthTwips = 4590;
}  // namespace

void FrmMain::start_up()
{
    // Clients wait until start-up is done.
    const RoutineScope routine(link_.routines());
    started_ = true;
    st_ = SharedState{};  // the start values
    monitor_.ensure_window().show();
    if (device_menu_)
        device_menu_->load_choices();
    // A request to end can arrive in any message box of start-up.
    const QString settings_note = read_settings();
    if (shut_down_)
        return;
    load_outline();
    if (shut_down_)
        return;
    apply_skin(panel_);
    if (shut_down_)
        return;
    st_.panel_scale = static_cast<float>(twips_.width(this) / kDesignWidthTwips);
    scale_layout();
    if (st_.port_open)
        startup_exchange(panel_);
    if (device_menu_)
        device_menu_->report_start(settings_note);
    setWindowTitle(QString::fromLatin1(kTitle));
    if (st_.win_on_top)
        set_on_top(true);
}

// Fields in order; the port opens as soon as its number is known. A missing
// or unreadable field takes the safe choice: skin 1, COM1, the window
// centred on the screen, on top. Returns what the user should hear about a
// file that could not be read.
QString FrmMain::read_settings()
{
    const QString path = env_.settings_read_path.isEmpty() ? env_.settings_path : env_.settings_read_path;
    QString problem;
    const StoredSettings s = read_settings_file(path, &problem);
    st_.panel_skin = s.skin.value_or(1) == 1 ? QStringLiteral("1") : QStringLiteral("2");
    // A port number other than 2 names no port of the panel's: COM1.
    st_.com_port = s.com_port.value_or(1) == 2 ? 2 : 1;
    link_.set_comm();
    if (s.left && s.top) {
        const qint64 left = *s.left < 0 || *s.left > env_.desktop->screen_width_twips() ? 0 : *s.left;
        const qint64 top = *s.top < 0 || *s.top > env_.desktop->screen_height_twips() ? 0 : *s.top;
        move(twips_.px_x(left), twips_.px_y(top));
        placement_.placed(QPoint(int(*s.left), int(*s.top)), QPoint(int(left), int(top)));
    } else {
        setProperty("centre_on_screen", true);
    }
    st_.win_on_top = s.on_top.value_or(true);
    return problem.isEmpty() ? QString() : settings_read_note(path, problem);
}

// The design positions follow the width of the panel bitmap actually loaded.
void FrmMain::scale_layout()
{
    const double scale = st_.panel_scale;
    const auto scale_place = [&](QWidget* w) {
        w->move(twips_.px_x(twips_.left(w) * scale), twips_.px_y(twips_.top(w) * scale));
    };
    for (int i = 0; i < buttons::first_zoom_area; ++i)
        if (PictureButton* b = button_at(panel_, i))
            scale_place(b);
    scale_place(el_.lab_panel);
    scale_place(el_.lab_msg);
    for (QScrollBar* slider : el_.hsr_video) {
        slider->resize(twips_.px_x(twips_.width(slider) * scale), twips_.px_y(twips_.height(slider) * scale));
        scale_place(slider);
    }
    for (OptionLabel* label : el_.lab_opt)
        scale_place(label);
    PictureButton* first = button_at(panel_, buttons::first_zoom_area);
    scale_place(first);
    // The zoom grid: 3 x 3 cells one zoom picture wide and high, row by row.
    const int w = first->width();
    const int h = first->height();
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            button_at(panel_, buttons::zoom_area_button(1 + row * 3 + col))->move(first->x() + col * w, first->y() + row * h);
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    shut_down();
    event->accept();
}

void FrmMain::shut_down()
{
    if (shut_down_ || !started_)
        return;
    shut_down_ = true;
    pump_.tim_rx().stop();
    link_.close_port();  // also ends a watch for a lost device
    tray_->remove_icon();
    if (open_box_)
        open_box_->reject();
    // Ended before the window had its place: the file still holds the
    // user's settings, and nothing was changed.
    if (placed_)
        save_settings();
    if (FrmRx* monitor = monitor_.monitor_window())
        monitor->close();
    if (magnifier_) {
        magnifier_->disconnect(this);  // its closing must not show the panel again
        magnifier_->close();
    }
    emit finished();
}

void FrmMain::save_settings()
{
    const QPoint place = placement_.to_save(QPoint(x() * twips_.per_px_x, y() * twips_.per_px_y));
    const QByteArray record = format_settings(st_.panel_skin == QLatin1String("1") ? 1 : 2, st_.com_port,
                                              place.x(), place.y(), st_.win_on_top);
    QString error;
    if (!write_settings_file(env_.settings_path, record, error))
        show_message(QStringLiteral("Cannot save the settings"), error);  // the error names what is in the way
}
