#pragma once
// A device link on virtual time with its port open (unless not `open`),
// answered by the simulated box or, with `scripted`, only by what the test
// schedules.

#include "core/shared_state.h"
#include "fake_port.h"
#include "link/device_link.h"
#include "recording_observer.h"

struct LinkRig {
    explicit LinkRig(bool scripted = false, bool open = true)
    {
        link.add_observer(obs);
        if (scripted)
            port.set_box(nullptr);
        if (open)
            link.set_comm();
    }
    VirtualClock clock;
    BoxModel box;
    FakePort port{clock, &box};
    RecordingObserver obs{&clock};
    SharedState state;
    DeviceLink link{port, clock, obs, state};
};
