/* Reads a window's pixels for the end-to-end tests.
 *
 *   xprobe WINDOW size                               the window's width and height
 *   xprobe WINDOW pixel X Y                          RRGGBB of one pixel
 *   xprobe WINDOW count X0 Y0 X1 Y1 CLASS            pixels of a colour class in [X0,X1) x [Y0,Y1)
 *   xprobe WINDOW bounds X0 Y0 X1 Y1 CLASS           "X0 Y0 X1 Y1" around those pixels, or "none"
 *   xprobe WINDOW save FILE                          the window's pixels to FILE
 *   xprobe WINDOW diff FILE X0 Y0 X1 Y1              pixels that differ from FILE in the region
 *
 * Colour classes: yellow, red, cyan (the platform's probe line), orange (the tiger's coat, or
 * sand under the warm shader), stripe (near black, darker than the background: the tiger's
 * stripes and eyes), background (0x2F2F2F), white (a message box's face).
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int Is(const char* cls, unsigned long p) {
    const int r = (int)((p >> 16) & 0xFF), g = (int)((p >> 8) & 0xFF), b = (int)(p & 0xFF);
    if (!strcmp(cls, "yellow")) return r > 180 && g > 180 && b < 90;
    if (!strcmp(cls, "red")) return r > 180 && g < 70 && b < 70;
    if (!strcmp(cls, "cyan")) return r < 90 && g > 180 && b > 180;
    if (!strcmp(cls, "orange")) return r > 170 && g > 60 && g < 170 && b < 90 && r - g > 60;
    if (!strcmp(cls, "background"))
        return abs(r - 0x2F) <= 2 && abs(g - 0x2F) <= 2 && abs(b - 0x2F) <= 2;
    if (!strcmp(cls, "stripe")) return r < 42 && g < 42 && b < 42;
    if (!strcmp(cls, "white")) return r > 235 && g > 235 && b > 235;
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    Display* d = XOpenDisplay(NULL);
    if (!d) return 1;
    const Window w = (Window)strtoul(argv[1], NULL, 0);
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a)) return 1;
    if (!strcmp(argv[2], "size")) {
        printf("%d %d\n", a.width, a.height);
        return 0;
    }
    XImage* img = XGetImage(d, w, 0, 0, (unsigned)a.width, (unsigned)a.height, AllPlanes, ZPixmap);
    if (!img) return 1;
    if (!strcmp(argv[2], "pixel") && argc == 5) {
        printf("%06lX\n", XGetPixel(img, atoi(argv[3]), atoi(argv[4])) & 0xFFFFFF);
    } else if (!strcmp(argv[2], "count") && argc == 8) {
        long n = 0;
        for (int y = atoi(argv[4]); y < atoi(argv[6]) && y < a.height; ++y)
            for (int x = atoi(argv[3]); x < atoi(argv[5]) && x < a.width; ++x)
                n += Is(argv[7], XGetPixel(img, x, y));
        printf("%ld\n", n);
    } else if (!strcmp(argv[2], "bounds") && argc == 8) {
        int x0 = a.width, y0 = a.height, x1 = -1, y1 = -1;
        for (int y = atoi(argv[4]); y < atoi(argv[6]) && y < a.height; ++y)
            for (int x = atoi(argv[3]); x < atoi(argv[5]) && x < a.width; ++x)
                if (Is(argv[7], XGetPixel(img, x, y))) {
                    x0 = x < x0 ? x : x0, y0 = y < y0 ? y : y0;
                    x1 = x + 1 > x1 ? x + 1 : x1, y1 = y + 1 > y1 ? y + 1 : y1;
                }
        if (x1 < 0)
            printf("none\n");
        else
            printf("%d %d %d %d\n", x0, y0, x1, y1);
    } else if (!strcmp(argv[2], "save") && argc == 4) {
        FILE* f = fopen(argv[3], "wb");
        if (!f) return 1;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                const unsigned long p = XGetPixel(img, x, y) & 0xFFFFFF;
                fwrite(&p, 4, 1, f);
            }
        fclose(f);
    } else if (!strcmp(argv[2], "diff") && argc == 8) {
        FILE* f = fopen(argv[3], "rb");
        if (!f) return 1;
        long n = 0;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                unsigned long saved = 0;
                if (fread(&saved, 4, 1, f) != 1) break;
                if (x >= atoi(argv[4]) && x < atoi(argv[6]) && y >= atoi(argv[5]) &&
                    y < atoi(argv[7]))
                    n += saved != (XGetPixel(img, x, y) & 0xFFFFFF);
            }
        fclose(f);
        printf("%ld\n", n);
    } else {
        return 2;
    }
    XDestroyImage(img);
    XCloseDisplay(d);
    return 0;
}
