#include "panel/client_command.h"

#include "link/device_link.h"
#include "link/protocol.h"
#include "panel/loss_notice.h"
#include "panel/message_line.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"
#include "panel/reply_dispatcher.h"

namespace {
const QString kWait = QStringLiteral("*** WAIT ***");
}

ClientAnswer run_client_command(Panel& p, const QString& command)
{
    const RoutineScope routine(p.link.routines());
    const LossNotice loss_notice(p);
    const QString caption = p.el.lab_msg->caption();
    ClientAnswer answer;
    p.link.tx_cmd(command);
    answer.reply = p.link.last_reply;
    if (answer.reply == protocol::kNone)
        return answer;

    // The box sends a ready message after the slow commands only; whatever
    // the reply says, no other command brings one.
    const bool ready_comes = protocol::expects_ready(command);
    if (ready_comes) {
        p.link.rx_rdy();
        answer.ready = p.link.last_reply;
    }
    const QString mnemonic = protocol::mnemonic(answer.reply);
    const int value = protocol::read_value(answer.reply);
    // Taking in a reply whose handling waits for a ready message (a query
    // answered "PWR001") would hold the panel 5 s for one that never comes:
    // a query changed nothing, so there is nothing to take in.
    const bool waits = waits_for_ready(mnemonic, value);
    if (!waits || ready_comes) {
        p.link.handle_as_own(answer.reply, waits ? answer.ready : QString(),
                             [&p](const QString& m, int v) { act_on_message(p, m, v); });
    }
    // A ready wait with nothing after it to write the caption.
    if (p.el.lab_msg->caption() == kWait)
        p.el.lab_msg->set_caption(caption);
    return answer;
}
