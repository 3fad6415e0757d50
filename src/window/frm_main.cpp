#include "window/frm_main.h"

#include "core/shared_state.h"
#include "magnifier/frm_mag.h"
#include "monitor/frm_rx.h"
#include "panel/button_catalogue.h"
#include "widgets/fitted_label.h"
#include "panel/hover.h"
#include "panel/keyboard_access.h"
#include "widgets/message_line.h"
#include "widgets/option_label.h"
#include "widgets/picture_button.h"
#include "panel/option_lines.h"
#include "panel/press_dispatch.h"
#include "panel/reply_dispatcher.h"
#include "widgets/video_slider.h"
#include "panel/video_sliders.h"
#include "platform/compositor_move.h"
#include "platform/desktop.h"
#include "platform/picture_store.h"
#include "window/com_device_menu.h"
#include "window/device_map_file.h"
#include "window/panel_tray.h"

#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QSystemTrayIcon>

namespace {

QFont arial(bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

void set_text_colour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

FrmMain::FrmMain(const PanelEnvironment& env)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      env_(env),
      st_(*env.st),
      twips_{env.desktop->twips_per_pixel_x(), env.desktop->twips_per_pixel_y()},
      placement_(env.desktop->window_system()),
      // Woken by the port's readable notice, not by time (the link's tick_due).
      pump_(env.poll_interval_ms, [this] { tim_rx_tick(panel_); }, env.process_events, env.process_events_for),
      link_(*env.port, *env.clock, pump_, *env.st),
      panel_{*env.st, link_, el_, *this, *env.pictures, *env.desktop, env.com_devices},
      messages_(el_, link_, *this),
      link_view_(panel_),
      monitor_(link_.receive_log(), *env.desktop)
{
    setWindowTitle(QStringLiteral("QV-742"));
    // A compositor shows the desktop through the parts outside the outline;
    // the mask alone would only keep clicks out of them.
    setAttribute(Qt::WA_TranslucentBackground, env.desktop->translucent_windows());
    setWindowIcon(QIcon(env.pictures->pixmap(QStringLiteral("icon"))));
    // The window words what the link reports before the panel acts on it.
    link_.add_observer(messages_);
    link_.add_observer(link_view_);
    link_.add_observer(monitor_);
    create_elements();
    make_panel_accessible(panel_, *this);
    tray_ = new PanelTray(*this, *env.desktop);
    tray_->fill_menu = [this](QMenu& menu) {
        if (device_menu_)
            menu.addMenu(device_menu_->tray_menu(&menu));
        menu.addAction(QStringLiteral("Show the receive monitor"), this, &FrmMain::show_monitor);
    };
    if (env.com_devices) {
        link_.use_devices(*env.com_devices);
        device_menu_ = new ComDeviceMenu(panel_, *env.com_devices, device_map_path(env.settings_path), this);
        device_menu_->tell = [this](const QString& text, const QString& detail) { show_message(text, detail); };
        messages_.use_device_menu(device_menu_);
    }
}

FrmMain::~FrmMain()
{
    pump_.tim_rx().stop();
    link_.remove_observer(monitor_);
    link_.remove_observer(link_view_);
    link_.remove_observer(messages_);
    delete magnifier_.data();
}

void FrmMain::create_elements()
{
    el_.pic_win = new SharpPicture(this);  // the artwork stays sharp on a scaled screen
    el_.pic_win->move(0, 0);
    el_.pic_win->setMouseTracking(true);
    el_.pic_win->installEventFilter(this);

    el_.lab_panel = new FittedLabel(this);
    el_.lab_panel->setText(QStringLiteral("MAIN PANEL"));
    el_.lab_panel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    el_.lab_panel->setGeometry(twips_.px_x(1065), twips_.px_y(30), twips_.px_x(1545), twips_.px_y(195));
    set_text_colour(el_.lab_panel, QColor(0, 128, 0));

    el_.lab_msg = new MessageLine(this);
    el_.lab_msg->set_caption(QStringLiteral("Good Day !"));
    el_.lab_msg->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    el_.lab_msg->setGeometry(twips_.px_x(2715), twips_.px_y(45), twips_.px_x(1590), twips_.px_y(210));
    set_text_colour(el_.lab_msg, QColor(192, 0, 192));

    for (QLabel* passive : {el_.lab_panel, static_cast<QLabel*>(el_.lab_msg)}) {
        passive->setFont(arial());
        passive->setMouseTracking(true);
        passive->installEventFilter(this);
    }
    for (QLabel*& label : el_.lab_text) {
        label = new QLabel(this);
        label->setFont(arial(true));
        label->setText(QStringLiteral("X"));
        label->adjustSize();  // an 8.25-point Arial label's height
        label->hide();
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
    static const char* const kValues[] = {"NTSC", "PAL", "Wood", "Flower", "On", "Off", "On", "Off"};
    for (int i = 0; i < 8; ++i) {
        auto* label = new OptionLabel(i, this);
        label->setFont(arial());
        label->setText(QString::fromLatin1(kValues[i]));
        // Wide and high enough for the chosen style's 9-point bold text.
        label->resize(twips_.px_x(675), twips_.px_y(225));
        label->hide();
        connect(label, &OptionLabel::clicked, this, [this](int index) { option_clicked(panel_, index); });
        el_.lab_opt[i] = label;
    }
    for (int i = 0; i < 4; ++i) {
        const SliderTraits* traits = slider_traits(i);
        auto* slider = new VideoSlider(i, this);
        slider->setRange(std::min(traits->left_value, traits->right_value),
                         std::max(traits->left_value, traits->right_value));
        slider->setInvertedAppearance(traits->left_value > traits->right_value);
        slider->setInvertedControls(false);
        slider->setSingleStep(traits->small_step);
        slider->setPageStep(traits->large_step);
        slider->setValue(traits->left_value);
        slider->resize(twips_.px_x(1530), twips_.px_y(180));
        slider->hide();
        connect(slider, &QScrollBar::valueChanged, this, [this, i] { hsr_video_Change(panel_, i); });
        connect(slider, &QScrollBar::sliderMoved, this, [this, i] { hsr_video_Scroll(panel_, i); });
        el_.hsr_video[i] = slider;
    }

    for (int i = 0; i < buttons::count; ++i) {
        if (!catalogue::is_button(i))
            continue;
        auto* b = new PictureButton(i, *env_.pictures, this);
        const QPoint at = catalogue::design_position(i);
        b->move(twips_.px_x(at.x()), twips_.px_y(at.y()));
        b->setVisible(catalogue::shown_at_start(i));
        b->setToolTip(catalogue::tooltip(i));
        connect(b, &PictureButton::pointer_moved, this, [this](int ind) { hover_button_move(panel_, ind); });
        connect(b, &PictureButton::pressed, this, [this](int ind) { button_pressed(panel_, ind); });
        connect(b, &PictureButton::released, this, [this](int ind) { button_released(panel_, ind); });
        el_.img_ico[i] = b;
    }
    el_.img_connect = new PictureButton(-1, *env_.pictures, this);
    el_.img_connect->move(twips_.px_x(225), twips_.px_y(360));
    el_.img_connect->setToolTip(QStringLiteral("Power"));
    el_.img_connect->installEventFilter(this);
    el_.pic_win->lower();
    auto* monitor_key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    connect(monitor_key, &QShortcut::activated, this, &FrmMain::show_monitor);
}

// The background and its passive labels form the drag surface. A double
// click on the connection indicator brings the receive monitor back after
// the user closed it (as do Ctrl+R and the tray menu).
bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (watched != el_.img_connect)
            return false;
        show_monitor();
        return true;
    case QEvent::MouseButtonPress:
        background_press();
        return true;
    case QEvent::MouseMove:
        background_move();
        return true;
    case QEvent::MouseButtonRelease:
        drag_.end();
        return true;
    default:
        return false;
    }
}

void FrmMain::background_press()
{
    const QPoint window_twips(x() * twips_.per_px_x, y() * twips_.per_px_y);
    placement_.user_moves(window_twips);
    if (compositor_move(*this, *env_.desktop))
        return;
    drag_.start(window_twips, env_.desktop->cursor_pos(), twips_.per_px_x, twips_.per_px_y);
}

void FrmMain::background_move()
{
    if (const auto to = drag_.position(env_.desktop->cursor_pos(), twips_.per_px_x, twips_.per_px_y))
        move(twips_.px_x(to->x()), twips_.px_y(to->y()));
    hover_leave(panel_);
}

FrmMag* FrmMain::magnifier() const
{
    return magnifier_.data();
}

FrmRx* FrmMain::monitor() const
{
    return monitor_.monitor_window();
}

QSystemTrayIcon* FrmMain::tray_icon() const
{
    return tray_->icon();
}
