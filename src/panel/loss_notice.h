#pragma once
// The port lost in the middle of a routine is said on the message line at
// once, but the routine goes on and writes its own caption ("Power On") over
// it. Held for the length of a routine, this says it again at the end, so
// the user sees why nothing answered.

#include "core/shared_state.h"
#include "link/device_link.h"
#include "panel/captions.h"
#include "widgets/message_line.h"
#include "panel/panel.h"
#include "panel/panel_elements.h"

class LossNotice {
public:
    explicit LossNotice(Panel& p) : p_(p), losses_(p.link.losses()) {}
    ~LossNotice()
    {
        // Not when the routine itself opened a port again.
        if (p_.link.losses() != losses_ && !p_.st.port_open)
            p_.el.lab_msg->set_caption(port_lost_message(p_.st.com_port));
    }
    LossNotice(const LossNotice&) = delete;
    LossNotice& operator=(const LossNotice&) = delete;

private:
    Panel& p_;
    int losses_;
};
