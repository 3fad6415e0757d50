#include "link/link_rest.h"

LinkRest::LinkRest()
{
    routines_.set_idle_handler([this] { came_to_rest(); });
}

void LinkRest::leave_pass()
{
    if (--passes_ == 0)
        came_to_rest();
}

void LinkRest::came_to_rest()
{
    if (!at_rest())
        return;
    for (const auto& listener : std::vector<std::function<void()>>(listeners_))
        listener();
}
