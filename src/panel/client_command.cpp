#include "panel/client_command.h"

#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/loss_notice.h"
#include "widgets/message_line.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "panel/reply_dispatcher.h"

ClientAnswer run_client_command(Panel& p, const QString& command)
{
    const RoutineScope routine(p.link.routines());
    const LossNotice loss_notice(p);
    MessageLine& line = *p.el.lab_msg;
    const QString caption = line.caption();
    ClientAnswer answer;
    const Reply reply = p.link.tx_cmd(command);
    answer.reply = reply.text;
    if (!reply.answered())
        return answer;

    // The box sends a ready message after the slow commands only; whatever
    // the reply says, no other command brings one.
    const bool ready_comes = protocol::expects_ready(command);
    int writes_after_wait = -1;
    if (ready_comes) {
        answer.ready = p.link.rx_rdy().text;
        writes_after_wait = line.writes();
    }
    const QString mnemonic = protocol::mnemonic(reply.text);
    const int value = reply.value();
    // Taking in a reply whose handling waits for a ready message (a query
    // answered "PWR001") would hold the panel 5 s for one that never comes:
    // a query changed nothing, so there is nothing to take in.
    const bool waits = waits_for_ready(mnemonic, value);
    if (!waits || ready_comes) {
        p.link.handle_as_own(reply.text, waits ? answer.ready : QString(),
                             [&p](const QString& m, int v) { act_on_message(p, m, v); });
    }
    // A ready wait with nothing after it to write the caption: the line
    // goes back to what it said.
    if (line.writes() == writes_after_wait)
        line.set_caption(caption);
    return answer;
}
