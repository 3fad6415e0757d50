#include "panel/press_dispatch.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/adjustment_pages.h"
#include "panel/button_catalogue.h"
#include "panel/button_pictures.h"
#include "panel/hover.h"
#include "panel/info_pages.h"
#include "panel/loss_notice.h"
#include "panel/option_lines.h"
#include "panel/pages.h"
#include "panel/panel.h"
#include "panel/state_sync.h"

namespace {

bool replied(const Panel& p)
{
    return p.link.last_reply != protocol::kNone;
}

void zoom_on(Panel& p)
{
    enable_icons(p, false);
    lock_power_and_magnifier(p, true);
    p.link.tx_cmd(QStringLiteral("ZOM001"));
    if (replied(p)) {
        p.link.rx_rdy();
        if (replied(p))
            show_zoom_panel(p);
        else
            show_connect(p, false);
    } else {
        show_connect(p, false);
    }
    enable_icons(p, true);
    lock_power_and_magnifier(p, false);
}

void open_magnifier(Panel& p)
{
    p.st.current_page = 8;
    p.host.hide_window();
    p.host.process_events();
    p.host.open_magnifier();
}

void toggle_scan(Panel& p)
{
    p.st.current_page = 99;
    const bool to_under = p.st.scan_mode != 0;
    p.link.tx_cmd(to_under ? QStringLiteral("SCN000") : QStringLiteral("SCN001"));
    if (replied(p))
        p.st.scan_mode = to_under ? 0 : 1;
    on_off_ico(p, 11, false);
    on_off_ico(p, 12, false);
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
    case 7:
        p.link.tx_cmd(QStringLiteral("ZOM000"));
        p.link.rx_rdy();
        break;
    case 11:
    case 12:
        on_off_ico(p, p.st.current_page, false);
        break;
    default:
        break;
    }
    show_main_panel(p);
}

void power(Panel& p)
{
    if (p.st.power_state != 0) {
        p.link.tx_cmd(QStringLiteral("PWR000"));
        if (replied(p)) {
            p.st.power_state = 0;
            on_off_ico(p, 26, false);
            enable_icons(p, false);
        }
        return;
    }
    enable_icons(p, false);
    lock_power_and_magnifier(p, true);
    p.link.tx_cmd(QStringLiteral("PWR001"));
    if (replied(p)) {
        p.st.power_state = 1;
        on_off_ico(p, 26, false);
        p.link.rx_rdy();
        if (replied(p))
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
    p.link.tx_cmd(protocol::command(QStringLiteral("ASP"), next));
    if (replied(p))
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
    case 0: p.host.enter_tray(); break;
    case 1: p.host.minimize_window(); break;
    case 2: p.host.close_window(); break;
    case 3: open_about_page(p); break;
    case 6: system_reset(p); break;
    case 7: zoom_on(p); break;
    case 8: open_magnifier(p); break;
    case 9: toggle_scan(p); break;
    case 10: open_option_page(p); break;
    case 11:
    case 12: open_adjustment_page(p); break;
    case 13: toggle_flag(p, p.st.output_yuv, "FMT"); break;
    case 14: toggle_flag(p, p.st.freeze_state, "FRZ"); break;
    case 15: open_video_page(p); break;
    case 16: return_to_main(p); break;
    case 17:
    case 18:
    case 19:
    case 20:
    case 21: arrow_released(p, ind); break;
    case 23:
    case 24: select_tab(p, ind, true); break;
    case 25: video_reset(p); break;
    case 26: power(p); break;
    case 27: next_aspect(p); break;
    case 28: choose_port(p, 1); break;
    case 29: choose_port(p, 2); break;
    default:
        if (ind >= 30 && ind <= 38)
            zoom_area_released(p, ind);
        break;
    }
}

}  // namespace

void button_released(Panel& p, int ind)
{
    const RoutineScope routine(p.link.routines());
    // The release of an arrow whose press is still being sent waits for it,
    // so "000" never reaches the box before "001".
    if (p.st.arrow_in_press == ind) {
        p.st.arrow_release_waiting = ind;
        return;
    }
    const LossNotice loss_notice(p);
    p.st.pressed_button = ind;
    act(p, ind);
    const int done = p.st.pressed_button;
    if (done == 2)
        return;  // the window has been closed
    if (done != 23 && done != 24)
        on_off_ico(p, done, false);
    show_tip(p, done);
}

void button_pressed(Panel& p, int ind)
{
    if (p.st.power_state == 0 || ind < 17 || ind > 20)
        return;
    const RoutineScope routine(p.link.routines());
    p.st.arrow_in_press = ind;
    arrow_pressed(p, ind);
    p.st.arrow_in_press = catalogue::kNoButton;
    if (p.st.arrow_release_waiting == ind) {
        p.st.arrow_release_waiting = catalogue::kNoButton;
        button_released(p, ind);
    }
}
