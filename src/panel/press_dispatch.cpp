#include "panel/press_dispatch.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/adjustment_pages.h"
#include "panel/button_pictures.h"
#include "panel/hover.h"
#include "panel/info_pages.h"
#include "panel/loss_notice.h"
#include "panel/option_lines.h"
#include "panel/pages.h"
#include "panel/panel.h"
#include "panel/state_sync.h"

namespace {

void zoom_on(Panel& p)
{
    enable_icons(p, false);
    lock_power_and_magnifier(p, true);
    if (p.link.tx_cmd(QStringLiteral("ZOM001")).answered() && p.link.rx_rdy().answered())
        show_zoom_panel(p);
    else
        show_connect(p, false);
    enable_icons(p, true);
    lock_power_and_magnifier(p, false);
}

void open_magnifier(Panel& p)
{
    p.st.current_page = pages::magnifier;
    p.host.hide_window();
    p.link.pass_events();
    p.host.open_magnifier();
}

void toggle_scan(Panel& p)
{
    p.st.current_page = pages::main;
    const bool to_under = p.st.scan_mode != 0;
    if (p.link.tx_cmd(to_under ? QStringLiteral("SCN000") : QStringLiteral("SCN001")).answered())
        p.st.scan_mode = to_under ? 0 : 1;
    on_off_ico(p, buttons::position, false);
    on_off_ico(p, buttons::size, false);
}

void toggle_flag(Panel& p, int& flag, const char* mnemonic)
{
    flag = flag == 0 ? 1 : 0;
    QString cmd = QString::fromLatin1(mnemonic);
    p.link.tx_val2str(cmd, flag);
}

void return_to_main(Panel& p)
{
    switch (p.st.current_page) {
    case pages::zoom:
        p.link.tx_cmd(QStringLiteral("ZOM000"));
        p.link.rx_rdy();
        break;
    case pages::position:
    case pages::size:
        on_off_ico(p, p.st.current_page, false);  // the page's own button
        break;
    default:
        break;
    }
    show_main_panel(p);
}

void power(Panel& p)
{
    if (p.st.power_state != 0) {
        if (p.link.tx_cmd(QStringLiteral("PWR000")).answered()) {
            p.st.power_state = 0;
            on_off_ico(p, buttons::power, false);
            enable_icons(p, false);
        }
        return;
    }
    enable_icons(p, false);
    lock_power_and_magnifier(p, true);
    if (p.link.tx_cmd(QStringLiteral("PWR001")).answered()) {
        p.st.power_state = 1;
        on_off_ico(p, buttons::power, false);
        if (p.link.rx_rdy().answered())
            query_states(p);
        else
            show_connect(p, false);
        enable_icons(p, true);
    }
    lock_power_and_magnifier(p, false);
}

// Full, pan and scan, letterbox, full: the mode changes only when answered.
void next_aspect(Panel& p)
{
    const int next = p.st.aspect_mode == 0 ? 1 : p.st.aspect_mode == 1 ? 2 : 0;
    if (p.link.tx_cmd(protocol::command(QStringLiteral("ASP"), next)).answered())
        p.st.aspect_mode = next;
}

void choose_port(Panel& p, int com)
{
    p.st.com_port = com;
    p.link.set_comm();
}

void act(Panel& p, int ind)
{
    switch (ind) {
    case buttons::tray: p.host.enter_tray(); break;
    case buttons::minimise: p.host.minimize_window(); break;
    case buttons::close: p.host.close_window(); break;
    case buttons::about: open_about_page(p); break;
    case buttons::sys_reset: system_reset(p); break;
    case buttons::zoom: zoom_on(p); break;
    case buttons::magnifier: open_magnifier(p); break;
    case buttons::scan: toggle_scan(p); break;
    case buttons::options: open_option_page(p); break;
    case buttons::position:
    case buttons::size: open_adjustment_page(p, ind); break;
    case buttons::output: toggle_flag(p, p.st.output_yuv, "FMT"); break;
    case buttons::freeze: toggle_flag(p, p.st.freeze_state, "FRZ"); break;
    case buttons::video: open_video_page(p); break;
    case buttons::back: return_to_main(p); break;
    case buttons::up:
    case buttons::left:
    case buttons::down:
    case buttons::right:
    case buttons::centre: arrow_released(p, ind); break;
    case buttons::position_tab:
    case buttons::size_tab: select_tab(p, ind, true); break;
    case buttons::video_reset: video_reset(p); break;
    case buttons::power: power(p); break;
    case buttons::aspect: next_aspect(p); break;
    case buttons::com1: choose_port(p, 1); break;
    case buttons::com2: choose_port(p, 2); break;
    default:
        if (buttons::is_zoom_area(ind))
            zoom_area_released(p, ind);
        break;
    }
}

// The completion step: the button redrawn and its caption shown; where the
// action brought up the zoom page (power on or a reset with the box in zoom
// mode), the zoom button's.
void complete(Panel& p, int ind, int page_before)
{
    const bool zoom_came = p.st.current_page == pages::zoom && page_before != pages::zoom;
    const int done = zoom_came ? buttons::zoom : ind;
    if (done != buttons::position_tab && done != buttons::size_tab)
        on_off_ico(p, done, false);
    show_tip(p, done);
}

}  // namespace

void open_com_port(Panel& p, int com)
{
    const RoutineScope routine(p.link.routines());
    const LossNotice loss_notice(p);
    const int page_before = p.st.current_page;
    choose_port(p, com);
    complete(p, buttons::com_button(com), page_before);
}

void button_released(Panel& p, int ind)
{
    const RoutineScope routine(p.link.routines());
    // The release of an arrow whose press is still being sent waits for it,
    // so "000" never reaches the box before "001".
    if (p.arrow.in_press == ind) {
        p.arrow.release_waiting = ind;
        return;
    }
    const LossNotice loss_notice(p);
    const int page_before = p.st.current_page;
    act(p, ind);
    if (ind == buttons::close)
        return;  // the window has been closed
    complete(p, ind, page_before);
}

void button_pressed(Panel& p, int ind)
{
    if (p.st.power_state == 0 || !buttons::is_arrow(ind))
        return;
    const RoutineScope routine(p.link.routines());
    p.arrow.in_press = ind;
    arrow_pressed(p, ind);
    p.arrow.in_press = buttons::none;
    if (p.arrow.release_waiting == ind) {
        p.arrow.release_waiting = buttons::none;
        button_released(p, ind);
    }
}
