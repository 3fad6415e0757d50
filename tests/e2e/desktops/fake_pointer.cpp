// A pointer for KWin, driven line by line on standard input:
//
//   move X Y      the pointer to screen pixel X, Y
//   press         the left button down
//   release       and up again
//
// It speaks KWin's fake-input protocol, which KWin grants a program only by
// a desktop entry of its own (X-KDE-Wayland-Interfaces). Each line is
// answered "ok" once KWin has taken it, so the caller knows where the
// pointer is; "refused" when KWin does not offer the interface.

#include "fake-input-client-protocol.h"
// The protocol's tables, generated as C: here, after the declarations that
// give them external linkage in C++.
#include "fake-input-protocol.c"

#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t kLeftButton = 0x110;  // BTN_LEFT

struct Globals {
    org_kde_kwin_fake_input* input = nullptr;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    auto* g = static_cast<Globals*>(data);
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 3)
        g->input = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 3));
}

void global_remove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistry{global, global_remove};

}  // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::puts("refused: no Wayland display");
        return 1;
    }
    Globals g;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &g);
    wl_display_roundtrip(display);
    if (!g.input) {
        std::puts("refused: KWin offers no fake input to this program");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(g.input, "qv742 test pointer", "end-to-end test");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    char line[128];
    while (std::fgets(line, sizeof line, stdin)) {
        int x = 0, y = 0;
        if (std::sscanf(line, "move %d %d", &x, &y) == 2)
            org_kde_kwin_fake_input_pointer_motion_absolute(g.input, wl_fixed_from_int(x), wl_fixed_from_int(y));
        else if (std::strncmp(line, "press", 5) == 0)
            org_kde_kwin_fake_input_button(g.input, kLeftButton, 1);
        else if (std::strncmp(line, "release", 7) == 0)
            org_kde_kwin_fake_input_button(g.input, kLeftButton, 0);
        if (wl_display_roundtrip(display) < 0) {
            std::puts("refused: the connection to KWin broke");
            return 1;
        }
        std::puts("ok");
    }
    wl_display_disconnect(display);
    return 0;
}
