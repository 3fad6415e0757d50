#include "panel/option_lines.h"

#include "core/shared_state.h"
#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/label_layout.h"
#include "panel/loss_notice.h"
#include "widgets/message_line.h"
#include "widgets/option_label.h"
#include "panel/option_style.h"
#include "panel/skin.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "platform/desktop.h"
#include "widgets/twips.h"

#include <QLabel>

namespace {

const char* const kTitles[] = {"TV System : ", "Panel Skin : ", "Test Pattern : ", "Win on Top : "};

void lay_out_lines(Panel& p)
{
    const Twips tw = panel_twips(p);
    auto& title = p.el.lab_text;
    auto& value = p.el.lab_opt;
    for (int i = 0; i < 4; ++i)
        set_label_caption(title[i], QString::fromLatin1(kTitles[i]));
    // Rows are spaced by the first title's height as it is before its
    // auto-size is switched off.
    const double row = tw.height(title[0]);
    tw.set_top(title[0], layout_twips(p, 550));
    for (int i = 1; i < 4; ++i)
        tw.set_top(title[i], tw.top(title[i - 1]) + row + 25);
    for (int i = 0; i < 4; ++i) {
        set_label_align(title[i], Align::Right);
        set_label_autosize(title[i], false);
        tw.set_width(title[i], layout_twips(p, 1200));
        tw.set_left(title[i], layout_twips(p, 600));
        title[i]->show();
    }
    for (int i = 0; i < 4; ++i) {
        OptionLabel* a = value[2 * i];
        OptionLabel* b = value[2 * i + 1];
        tw.set_top(a, tw.top(title[i]));
        tw.set_left(a, tw.left(title[i]) + tw.width(title[i]));
        a->show();
        tw.set_top(b, tw.top(title[i]));
        tw.set_left(b, tw.left(a) + tw.width(value[0]) + 150);
        b->show();
    }
}

void show_choices(Panel& p)
{
    for (int i = 0; i < 8; ++i)
        set_opt_style(p, i, false);
    if (const Reply npo = p.link.tx_cmd(QStringLiteral("NPO999")); npo.answered())
        p.st.tv_system = npo.value();
    if (const Reply pat = p.link.tx_cmd(QStringLiteral("PAT999")); pat.answered())
        p.st.test_pattern = pat.value();
    set_opt_style(p, p.st.tv_system != 0 ? 1 : 0, true);
    set_opt_style(p, p.st.panel_skin == QLatin1String("1") ? 2 : 3, true);
    set_opt_style(p, p.st.test_pattern == 1 ? 4 : 5, true);
    set_opt_style(p, p.st.win_on_top ? 6 : 7, true);
}

}  // namespace

void open_option_page(Panel& p)
{
    begin_page(p, QStringLiteral("OPTION PANEL"), pages::options);
    lay_out_lines(p);
    show_choices(p);
}

// The partner goes plain first, then the state changes, then it takes
// effect; the state is kept even when the box does not answer.
void option_clicked(Panel& p, int ind)
{
    if (ind < 0 || ind > 7 || p.el.lab_opt[ind]->chosen())
        return;
    const RoutineScope routine(p.link.routines());
    const LossNotice loss_notice(p);
    set_opt_style(p, ind, true);
    set_opt_style(p, ind ^ 1, false);
    switch (ind) {
    case 0:
    case 1:
        p.st.tv_system = ind;
        p.link.tx_cmd(protocol::command(QStringLiteral("NPO"), ind));
        break;
    case 2:
    case 3:
        p.st.panel_skin = ind == 2 ? QStringLiteral("1") : QStringLiteral("2");
        apply_skin(p);
        break;
    case 4:
        p.st.test_pattern = 1;
        p.link.tx_cmd(QStringLiteral("PAT001"));
        break;
    case 5:
        p.st.test_pattern = 0;
        p.link.tx_cmd(QStringLiteral("PAT000"));
        p.link.rx_rdy();
        p.el.lab_msg->set_caption(QStringLiteral("Option"));
        break;
    case 6:
    case 7:
        p.st.win_on_top = ind == 6;
        p.host.set_on_top(p.st.win_on_top);
        break;
    }
}
