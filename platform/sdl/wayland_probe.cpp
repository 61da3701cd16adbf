// A look at the Wayland compositor that SDL is about to start on, for what SDL 2.26 cannot
// survive there: a compositor without a seat (no keyboard and no pointer, as a headless one
// runs), where SDL_Init dereferences the missing seat's input and dies of SIGSEGV; and one that
// draws no window frames (weston, GNOME), where SDL's own frames through libdecor die on a
// configure event for a window that has just closed, such as a message box.
#include <wayland-client.h>

#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_platform.h"

namespace sdl {
namespace {

// SDL tries Wayland first where SDL_VIDEODRIVER names it first, or, unset, where X11 has no
// display to open.
bool SdlWouldTryWayland() {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked && *asked) return std::strncmp(asked, "wayland", 7) == 0;
    const char* x11 = std::getenv("DISPLAY");
    return !x11 || !*x11;
}

void OnGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
    auto* found = static_cast<WaylandCompositor*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0) found->seat = true;
    if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0) found->serverFrames = true;
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

}  // namespace

WaylandCompositor ProbeWaylandCompositor() {
    WaylandCompositor found;
    if (!SdlWouldTryWayland()) return found;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return found;  // no compositor: SDL goes on to its other drivers
    static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &found);
    found.reached = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return found;
}

}  // namespace sdl
