// The floor of the start-up benchmark: the least a program can do to put a window like ours on
// screen. Bare Xlib, one window of our client size, fixed, with a few filled rectangles in it.
#include "window/ControlTable.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <array>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kWidth = window::kClientPixels.width;
constexpr int kHeight = window::kClientPixels.height;

void setFixedSize(Display* display, Window window) {
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = kWidth;
    hints.min_height = hints.max_height = kHeight;
    XSetWMNormalHints(display, window, &hints);
}

void draw(Display* display, Window window, GC context) {
    // Frames, button, swatch and the two boxes, roughly where the real window has them.
    const std::array<XRectangle, 6> rectangles{{
        {8, 12, 361, 113},
        {52, 36, 281, 41},
        {52, 80, 281, 29},
        {8, 128, 361, 117},
        {40, 156, 281, 21},
        {40, 200, 281, 21},
    }};
    XSetForeground(display, context, 0xECECEC);
    XFillRectangle(display, window, context, 0, 0, kWidth, kHeight);
    for (const XRectangle& r : rectangles) {
        XSetForeground(display, context, 0x808080);
        XDrawRectangle(display, window, context, r.x, r.y, r.width, r.height);
    }
    XSetForeground(display, context, 0x000000);
    XFillRectangle(display, window, context, 53, 81, 279, 27);
    XFlush(display);
}

} // namespace

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("XlibFloor: cannot open the display\n", stderr);
        return 1;
    }
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None; // the first picture is the program's, not the server's
    attributes.event_mask = ExposureMask;
    const Window window =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, kWidth, kHeight, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    XStoreName(display, window, "Xlib floor");
    const long pid = getpid();
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    setFixedSize(display, window);
    GC context = XCreateGC(display, window, 0, nullptr);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == Expose && event.xexpose.count == 0) {
            draw(display, window, context);
        }
    }
}
