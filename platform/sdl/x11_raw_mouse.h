// XInput 2 raw motion for the DirectInput mouse on X11: the counts each pointing device reports,
// before pointer acceleration and whatever the pointer itself does (stopped at a screen edge,
// warped by another program), selected on the root window over a connection of our own, so
// that they arrive whether or not our window has the focus. Read without blocking.
//
// Devices: relative ones count as they report; absolute ones (tablets, a virtual machine's
// pointer) count the change of their position, scaled to screen pixels. The XTEST device carries
// both kinds of synthetic motion in the same form: a batch whose last XTEST event names exactly
// the pointer's position is taken as an absolute move (it counts the pointer's displacement),
// any other as relative counts.
#pragma once

#include <map>
#include <memory>
#include <string>

namespace sdl {

class RawMotionX11 {
  public:
    // Null, with the reason in `why`, where the display cannot be opened or has no XInput 2.
    static std::unique_ptr<RawMotionX11> Open(std::string& why);
    ~RawMotionX11();
    RawMotionX11(const RawMotionX11&) = delete;
    RawMotionX11& operator=(const RawMotionX11&) = delete;

    // Takes the events that have arrived, without blocking.
    void Drain();
    // Forgets the movement so far: what Take reports counts from here.
    void Discard();
    // The whole counts moved since the last Take (fractions carry over), and the buttons now
    // (left, right, middle; 0x80 when down).
    void Take(long& dx, long& dy, unsigned char buttons[4]);

  private:
    struct DeviceAxes {
        bool xtest = false;
        bool absolute[2] = {false, false};
        double scale[2] = {1, 1};  // screen pixels per device unit, for absolute axes
        bool haveLast[2] = {false, false};
        double last[2] = {0, 0};
    };

    explicit RawMotionX11(void* display, int opcode);
    DeviceAxes& Axes(int device);
    void OnRawMotion(const void* event);
    void QueryPointer(int& x, int& y, unsigned& mask);

    void* display_;  // Display*, kept out of the header
    int opcode_;
    std::map<int, DeviceAxes> devices_;
    double moved_[2] = {0, 0};  // counts not yet taken, with their fractions
    // The XTEST device's events since the last Take.
    int xtestEvents_ = 0;
    double xtestSum_[2] = {0, 0};
    double xtestLast_[2] = {0, 0};
    bool xtestLastBoth_ = false;
    bool havePointer_ = false;
    int pointerX_ = 0, pointerY_ = 0;
};

}  // namespace sdl
