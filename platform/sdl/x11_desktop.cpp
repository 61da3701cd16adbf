// X11 facts that SDL does not give, read over a short connection of our own: whether a window
// manager runs (one that announces itself on the root window, as EWMH asks; openbox, xfwm,
// mutter, kwin and their kin do).
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/sdl/sdl_platform.h"

namespace sdl {
namespace {

// The window that property `atom` of `window` names, or None.
Window WindowProperty(Display* display, Window window, Atom atom) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window result = None;
    if (XGetWindowProperty(display, window, atom, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1) {
        result = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
    }
    if (data) XFree(data);
    return result;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

bool X11WindowManagerRunning() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    // A window manager that died leaves its check window named but gone: that is no manager.
    XErrorHandler previous = XSetErrorHandler(IgnoreErrors);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const Window child = WindowProperty(display, DefaultRootWindow(display), check);
    const bool running = child != None && WindowProperty(display, child, check) == child;
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return running;
}

}  // namespace sdl
