#include "serverdecorations.h"

#include <wayland-client.h>

#include <cstring>

namespace platform::wayland {

namespace {

void noteGlobal(void *offered, wl_registry *, uint32_t, const char *interface, uint32_t)
{
    if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
        *static_cast<bool *>(offered) = true;
}

void forgetGlobal(void *, wl_registry *, uint32_t) {}

const wl_registry_listener registryListener = {noteGlobal, forgetGlobal};

// Qt keeps its own connection to itself up to Qt 6.5, so the compositor's
// globals are read over a short connection of our own to the same display
// (WAYLAND_DISPLAY): one round trip at start-up.
bool offersDecorationManager()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return false;
    bool offered = false;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &offered);
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return answered && offered;
}

} // namespace

bool compositorDrawsTitleBars()
{
    static const bool draws = offersDecorationManager();
    return draws;
}

} // namespace platform::wayland
