#include "panel/reply_dispatcher.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/button_pictures.h"
#include "panel/hover.h"
#include "panel/loss_notice.h"
#include "widgets/message_line.h"
#include "panel/option_style.h"
#include "panel/pages.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "panel/state_sync.h"
#include "panel/video_sliders.h"

#include <QHash>
#include <functional>

namespace {

bool on_page(const Panel& p, int page)
{
    return p.st.current_page == page;
}

void zoom_area(Panel& p, int v)
{
    if (v < 1 || v > 9)
        return;
    p.st.zoom_area = v;
    if (!on_page(p, pages::zoom))
        return;
    show_zoom_areas_unselected(p);
    on_off_ico(p, buttons::zoom_area_button(v), false);
}

void video_level(Panel& p, int slider, int v)
{
    if (on_page(p, pages::video))
        set_slider_from_box(p, slider, v);
    else
        slider_mirror(p.st, slider) = v;
}

void tv_system(Panel& p, int v)
{
    p.st.tv_system = v;
    if (!on_page(p, pages::options))
        return;
    set_opt_style(p, 0, v == 0);
    set_opt_style(p, 1, v != 0);
}

void test_pattern(Panel& p, int v)
{
    p.st.test_pattern = v;
    if (v == 0) {
        p.link.rx_rdy();
        p.el.lab_msg->set_caption(QStringLiteral("Test Pattern Off"));
    }
    if (!on_page(p, pages::options))
        return;
    set_opt_style(p, 4, v != 0);
    set_opt_style(p, 5, v == 0);
}

void power(Panel& p, int v)
{
    p.st.power_state = v;
    on_off_ico(p, buttons::power, false);
    show_main_panel(p);
    if (v == 0) {
        enable_icons(p, false);
    } else {
        lock_power_and_magnifier(p, true);
        if (p.link.rx_rdy().answered())
            query_states(p);
        else
            show_connect(p, false);
        enable_icons(p, true);
        lock_power_and_magnifier(p, false);
    }
    show_tip(p, buttons::power);
}

void reset(Panel& p, int v)
{
    if (v == 0) {
        show_main_panel(p);
        system_reset(p);
        show_tip(p, buttons::sys_reset);
    } else if (v == 3) {
        p.link.rx_rdy();
        if (on_page(p, pages::video))
            query_video(p);
        p.el.lab_msg->set_caption(QStringLiteral("Video Reset"));
    }
}

void scan(Panel& p, int v)
{
    p.st.scan_mode = v;
    on_off_ico(p, buttons::scan, false);
    on_off_ico(p, buttons::position, false);
    on_off_ico(p, buttons::size, false);
    show_tip(p, buttons::scan);
}

void zoom_mode(Panel& p, int v)
{
    show_main_panel(p);
    enable_icons(p, false);
    lock_power_and_magnifier(p, true);
    const bool ready = p.link.rx_rdy().answered();
    if (v != 0) {
        if (ready)
            show_zoom_panel(p);
        else
            show_connect(p, false);
    }
    enable_icons(p, true);
    lock_power_and_magnifier(p, false);
    show_tip(p, buttons::zoom);
}

using Action = std::function<void(Panel&, int)>;

const QHash<QString, Action>& actions()
{
    static const QHash<QString, Action> table = {
        {"ARA", zoom_area},
        {"ASP", [](Panel& p, int v) { p.st.aspect_mode = v; on_off_ico(p, buttons::aspect, false); }},
        {"BRI", [](Panel& p, int v) { video_level(p, 1, v); }},
        {"CON", [](Panel& p, int v) { video_level(p, 0, v); }},
        {"FLK", [](Panel& p, int v) { video_level(p, 3, v); }},
        {"FMT", [](Panel& p, int v) { p.st.output_yuv = v; on_off_ico(p, buttons::output, false); }},
        {"FRZ", [](Panel& p, int v) { p.st.freeze_state = v; on_off_ico(p, buttons::freeze, false); }},
        {"NPO", tv_system},
        {"PAT", test_pattern},
        {"PWR", power},
        {"RST", reset},
        {"SAT", [](Panel& p, int v) { video_level(p, 2, v); }},
        {"SCN", scan},
        {"SHA", [](Panel& p, int v) { p.st.sharpness_level = v; }},
        {"VER", [](Panel& p, int v) { p.st.firmware_version = v; }},
        {"ZOM", zoom_mode},
        // MVU, MVD, MVL, MVR, SZU, SZD, SZL, SZR and anything else: nothing.
    };
    return table;
}

}  // namespace

void act_on_message(Panel& p, const QString& mnemonic, int value)
{
    const auto action = actions().constFind(mnemonic);
    if (action != actions().constEnd())
        (*action)(p, value);
}

bool waits_for_ready(const QString& mnemonic, int value)
{
    return (mnemonic == QLatin1String("PWR") && value != 0) || (mnemonic == QLatin1String("PAT") && value == 0)
        || (mnemonic == QLatin1String("RST") && (value == 0 || value == 3)) || mnemonic == QLatin1String("ZOM");
}

void tim_rx_tick(Panel& p)
{
    const RoutineScope routine(p.link.routines());
    const LossNotice loss_notice(p);
    p.link.poll_tick([&p](const QString& mnemonic, int value) { act_on_message(p, mnemonic, value); });
}
