// XInput 2 raw motion (see the header). Raw events are selected for the master devices, so each
// physical event arrives once, with the slave that made it as its source.
#include "platform/sdl/x11_raw_mouse.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cmath>
#include <cstring>

namespace sdl {
namespace {

Display* D(void* display) {
    return static_cast<Display*>(display);
}

// Errors from requests about devices that vanished meanwhile are expected: nothing else may
// end the process over them (Xlib's default handler would).
int g_trappedError = 0;
int TrapError(Display*, XErrorEvent* e) {
    g_trappedError = e->error_code;
    return 0;
}
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display) : display_(display) {
        g_trappedError = 0;
        previous_ = XSetErrorHandler(TrapError);
    }
    ~ErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

  private:
    Display* display_;
    XErrorHandler previous_;
};

bool IsXtestDevice(Display* display, int device, const char* name) {
    const Atom property = XInternAtom(display, "XTEST Device", True);
    if (property != None) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const bool found = XIGetProperty(display, device, property, 0, 1, False, AnyPropertyType,
                                         &type, &format, &items, &after, &data) == Success &&
                           items > 0;
        if (data) XFree(data);
        if (found) return true;
    }
    return name && std::strstr(name, "XTEST");
}

}  // namespace

std::unique_ptr<RawMotionX11> RawMotionX11::Open(std::string& why) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        why = "cannot open the X display";
        return nullptr;
    }
    int opcode = 0, event = 0, error = 0;
    int major = 2, minor = 2;  // 2.1 and later deliver raw events whatever grabs are active
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        why = "the X server has no XInput 2";
        XCloseDisplay(display);
        return nullptr;
    }
    unsigned char motion[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(motion, XI_RawMotion);
    unsigned char hierarchy[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(hierarchy, XI_HierarchyChanged);
    XIEventMask masks[2] = {{XIAllMasterDevices, sizeof motion, motion},
                            {XIAllDevices, sizeof hierarchy, hierarchy}};
    {
        ErrorTrap trap(display);
        XISelectEvents(display, DefaultRootWindow(display), masks, 2);
    }
    if (g_trappedError) {
        why = "the X server refused raw motion events";
        XCloseDisplay(display);
        return nullptr;
    }
    std::unique_ptr<RawMotionX11> raw(new RawMotionX11(display, opcode));
    raw->Discard();
    return raw;
}

RawMotionX11::RawMotionX11(void* display, int opcode) : display_(display), opcode_(opcode) {}

RawMotionX11::~RawMotionX11() {
    XCloseDisplay(D(display_));
}

RawMotionX11::DeviceAxes& RawMotionX11::Axes(int device) {
    auto found = devices_.find(device);
    if (found != devices_.end()) return found->second;
    DeviceAxes& axes = devices_[device];
    Display* display = D(display_);
    ErrorTrap trap(display);
    int count = 0;
    XIDeviceInfo* info = XIQueryDevice(display, device, &count);
    if (!info) return axes;
    axes.xtest = IsXtestDevice(display, device, info[0].name);
    const int screen[2] = {DisplayWidth(display, DefaultScreen(display)),
                           DisplayHeight(display, DefaultScreen(display))};
    for (int c = 0; c < info[0].num_classes; ++c) {
        if (info[0].classes[c]->type != XIValuatorClass) continue;
        const auto* v = reinterpret_cast<const XIValuatorClassInfo*>(info[0].classes[c]);
        if (v->number > 1 || v->mode != XIModeAbsolute) continue;
        axes.absolute[v->number] = true;
        const double range = v->max - v->min;
        axes.scale[v->number] = range > 0 ? screen[v->number] / range : 1.0;
    }
    XIFreeDeviceInfo(info);
    return axes;
}

void RawMotionX11::OnRawMotion(const void* event) {
    const auto* raw = static_cast<const XIRawEvent*>(event);
    double value[2] = {0, 0};
    bool has[2] = {false, false};
    const double* next = raw->raw_values;
    for (int bit = 0; bit < raw->valuators.mask_len * 8; ++bit) {
        if (!XIMaskIsSet(raw->valuators.mask, bit)) continue;
        if (bit < 2) {
            value[bit] = *next;
            has[bit] = true;
        }
        ++next;
    }
    DeviceAxes& axes = Axes(raw->sourceid);
    if (axes.xtest) {
        ++xtestEvents_;
        for (int a = 0; a < 2; ++a) {
            if (has[a]) xtestSum_[a] += value[a];
            xtestLast_[a] = has[a] ? value[a] : 0;
        }
        xtestLastBoth_ = has[0] && has[1];
        return;
    }
    for (int a = 0; a < 2; ++a) {
        if (!has[a]) continue;
        if (!axes.absolute[a]) {
            moved_[a] += value[a];
        } else {
            // An absolute device moves by the change of its position; its first event only
            // says where it is.
            if (axes.haveLast[a]) moved_[a] += (value[a] - axes.last[a]) * axes.scale[a];
            axes.last[a] = value[a];
            axes.haveLast[a] = true;
        }
    }
}

void RawMotionX11::Drain() {
    Display* display = D(display_);
    while (XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != opcode_) continue;
        if (!XGetEventData(display, &cookie)) continue;
        if (cookie.evtype == XI_RawMotion) {
            OnRawMotion(cookie.data);
        } else if (cookie.evtype == XI_HierarchyChanged) {
            devices_.clear();  // a device came or went: ids may now name others
        }
        XFreeEventData(display, &cookie);
    }
}

void RawMotionX11::QueryPointer(int& x, int& y, unsigned& mask) {
    Display* display = D(display_);
    Window root = None, child = None;
    int wx = 0, wy = 0;
    x = y = 0;
    mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask);
}

// The pointer is queried before the events are drained: the server sends an event before the
// reply of any query it answers later, so every move that the queried position holds is then
// in the queue. Draining first would let a move land between the two and count for nothing.
void RawMotionX11::Discard() {
    unsigned mask = 0;
    QueryPointer(pointerX_, pointerY_, mask);
    havePointer_ = true;
    Drain();
    moved_[0] = moved_[1] = 0;
    xtestEvents_ = 0;
    xtestSum_[0] = xtestSum_[1] = 0;
}

void RawMotionX11::Take(long& dx, long& dy, unsigned char buttons[4]) {
    int x = 0, y = 0;
    unsigned mask = 0;
    QueryPointer(x, y, mask);
    Drain();
    if (xtestEvents_ > 0) {
        const bool absolute = xtestLastBoth_ && havePointer_ && std::lround(xtestLast_[0]) == x &&
                              std::lround(xtestLast_[1]) == y;
        moved_[0] += absolute ? x - pointerX_ : xtestSum_[0];
        moved_[1] += absolute ? y - pointerY_ : xtestSum_[1];
        xtestEvents_ = 0;
        xtestSum_[0] = xtestSum_[1] = 0;
    }
    pointerX_ = x;
    pointerY_ = y;
    havePointer_ = true;
    const double whole[2] = {std::trunc(moved_[0]), std::trunc(moved_[1])};
    moved_[0] -= whole[0];
    moved_[1] -= whole[1];
    dx = static_cast<long>(whole[0]);
    dy = static_cast<long>(whole[1]);
    buttons[0] = (mask & Button1Mask) ? 0x80 : 0;
    buttons[1] = (mask & Button3Mask) ? 0x80 : 0;
    buttons[2] = (mask & Button2Mask) ? 0x80 : 0;
    buttons[3] = 0;  // the core pointer state has no fourth button
}

}  // namespace sdl
