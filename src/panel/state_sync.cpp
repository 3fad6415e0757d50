#include "panel/state_sync.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/button_pictures.h"
#include "panel/hover.h"
#include "panel/loss_notice.h"
#include "widgets/message_line.h"
#include "panel/pages.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "panel/video_sliders.h"

namespace {

// Sends a query; false when no reply came.
bool ask(Panel& p, const char* command, int& value)
{
    const Reply reply = p.link.tx_cmd(QString::fromLatin1(command));
    if (!reply.answered())
        return false;
    value = reply.value();
    return true;
}

}  // namespace

void query_states(Panel& p)
{
    int v = 0;
    if (!ask(p, "ASP999", v))
        return;
    p.st.aspect_mode = v;
    on_off_ico(p, buttons::aspect, false);
    if (!ask(p, "SCN999", v))
        return;
    p.st.scan_mode = v;
    on_off_ico(p, buttons::scan, false);
    on_off_ico(p, buttons::position, false);
    on_off_ico(p, buttons::size, false);
    if (!ask(p, "FMT999", v))
        return;
    p.st.output_yuv = v;
    on_off_ico(p, buttons::output, false);
    if (!ask(p, "FRZ999", v))
        return;
    p.st.freeze_state = v;
    on_off_ico(p, buttons::freeze, false);
    if (!ask(p, "NPO999", v))
        return;
    p.st.tv_system = v;
    if (!ask(p, "PAT999", v))
        return;
    p.st.test_pattern = v;
    if (!ask(p, "ZOM999", v))
        return;
    if (v == 1) {
        show_zoom_panel(p);
        show_tip(p, buttons::zoom);
    }
}

void query_video(Panel& p)
{
    static const char* const queries[] = {"CON999", "BRI999", "SAT999", "FLK999"};
    int v = 0;
    for (int i = 0; i < 4; ++i) {
        if (!ask(p, queries[i], v))
            return;
        set_slider_from_box(p, i, v);
    }
    if (!ask(p, "SHA999", v))
        return;
    p.st.sharpness_level = v;
}

void system_reset(Panel& p)
{
    p.st.current_page = pages::reset;
    enable_icons(p, false);
    lock_power_and_magnifier(p, true);
    // The box's own "RST000" arrives through the poll timer: nothing to send.
    if (p.link.dispatch_idle() && !p.link.tx_cmd(QStringLiteral("RST000")).answered()) {
        enable_icons(p, true);
        lock_power_and_magnifier(p, false);
        p.st.current_page = pages::main;  // the reset is over, unanswered
        return;
    }
    if (p.link.rx_rdy().answered())
        query_states(p);
    else
        show_connect(p, false);
    enable_icons(p, true);
    lock_power_and_magnifier(p, false);
    p.st.current_page = pages::main;
}

void startup_exchange(Panel& p)
{
    int v = 0;
    if (!ask(p, "VER999", v)) {
        p.el.lab_msg->set_caption(QStringLiteral("Scan Converter") + QStringLiteral(" not ready"));
        enable_icons(p, false);
        return;
    }
    p.st.firmware_version = v;
    p.st.power_state = p.link.tx_cmd(QStringLiteral("PWR999")).value();
    if (p.st.power_state == 1) {
        query_states(p);
        enable_icons(p, true);
    } else {
        enable_icons(p, false);
    }
    on_off_ico(p, buttons::power, false);
}

// What the panel knew of the box that was there before is gone: its mirror,
// the sliders and every picture are as at start-up, so a box that answers
// less than the old one cannot leave the old one's settings on show.
void forget_the_box(Panel& p)
{
    static_cast<BoxMirror&>(p.st) = BoxMirror{};
    reset_sliders(p);
    for (int i = 0; i < buttons::count; ++i)
        on_off_ico(p, i, false);
}

void resynchronise(Panel& p)
{
    const RoutineScope routine(p.link.routines());
    const LossNotice loss_notice(p);
    forget_the_box(p);
    show_main_panel(p);
    show_tip(p, buttons::com_button(p.st.com_port));  // "COM1: On"
    startup_exchange(p);
}
