/* Input as other programs and devices make it, for the end-to-end tests, over XTEST and Xlib.
 *
 *   xinject rel DX DY COUNT [GAP_US]   COUNT relative moves of the XTEST pointer (as a mouse's)
 *   xinject rel-elsewhere DX DY COUNT  the same while a window of ours has the input focus;
 *                                      prints "focused" when it had it throughout
 *   xinject abs X Y                    an absolute XTEST move (as a remote-desktop server's)
 *   xinject warp X Y                   XWarpPointer (as a program that moves the pointer)
 *   xinject pointer                    prints the pointer's position
 *   xinject key KEYCODE [HOLD_MS]      presses and releases a physical key by its X keycode
 */
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void Moves(Display* d, int dx, int dy, int count, int gapUs) {
    for (int i = 0; i < count; ++i) {
        XTestFakeRelativeMotionEvent(d, dx, dy, CurrentTime);
        if (gapUs > 0) {
            XFlush(d);
            usleep((useconds_t)gapUs);
        }
    }
    XSync(d, False);
}

static int FocusIsOn(Display* d, Window w) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    return focus == w;
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "xinject: no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(d);
    const char* what = argv[1];
    if (!strcmp(what, "rel") && argc >= 5) {
        Moves(d, atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), argc > 5 ? atoi(argv[5]) : 0);
    } else if (!strcmp(what, "rel-elsewhere") && argc == 5) {
        const Window w = XCreateSimpleWindow(d, root, 0, 0, 200, 100, 0, 0, 0);
        XStoreName(d, w, "elsewhere");
        XMapRaised(d, w);
        XSync(d, False);
        usleep(100000);
        XSetInputFocus(d, w, RevertToPointerRoot, CurrentTime);
        XSync(d, False);
        usleep(200000);
        const int before = FocusIsOn(d, w);
        Moves(d, atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), 1000);
        usleep(200000);
        if (before && FocusIsOn(d, w)) printf("focused\n");
        XDestroyWindow(d, w);
    } else if (!strcmp(what, "abs") && argc == 4) {
        XTestFakeMotionEvent(d, -1, atoi(argv[2]), atoi(argv[3]), CurrentTime);
    } else if (!strcmp(what, "warp") && argc == 4) {
        XWarpPointer(d, None, root, 0, 0, 0, 0, atoi(argv[2]), atoi(argv[3]));
    } else if (!strcmp(what, "pointer")) {
        Window r, c;
        int x = 0, y = 0, wx, wy;
        unsigned mask;
        XQueryPointer(d, root, &r, &c, &x, &y, &wx, &wy, &mask);
        printf("%d %d\n", x, y);
    } else if (!strcmp(what, "key") && argc >= 3) {
        const unsigned keycode = (unsigned)atoi(argv[2]);
        XTestFakeKeyEvent(d, keycode, True, CurrentTime);
        XSync(d, False);
        usleep((useconds_t)(argc > 3 ? atoi(argv[3]) : 50) * 1000);
        XTestFakeKeyEvent(d, keycode, False, CurrentTime);
    } else {
        fprintf(stderr, "xinject: unknown command\n");
        return 2;
    }
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}
