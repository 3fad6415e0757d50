#pragma once
// What the panel shows of the link's events: the connection indicator after
// every collection, the COM buttons' pictures when the port changes, and the
// resynchronisation when a port opens again on a box that may have changed.

#include "link/link_observer.h"

struct Panel;

class PanelLinkView : public LinkObserver {
public:
    explicit PanelLinkView(Panel& p) : p_(p) {}

    void connection_seen(bool answered) override;
    void port_changed() override;
    void synchronise() override;

private:
    Panel& p_;
};
