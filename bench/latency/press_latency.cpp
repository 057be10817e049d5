// Press-to-pixels latency, measured from outside the program: a mouse press is sent to the X
// server with XTest, then a rectangle of the screen is read back until its pixels change.
// Prints one line per press: the milliseconds from sending the press to the changed pixels.
//
// Usage: press_latency [--click] X Y [PRESSES] [GAP_MS] [RECT_X RECT_Y RECT_W RECT_H]
//   --click    release the button at once instead of after the change: buttons act on release
//   X Y        where to press, in screen pixels
//   PRESSES    how many presses (default 10)
//   GAP_MS     pause after each press's release, so that the program is idle again (default 150)
//   RECT_...   the rectangle to watch (default 16 x 16 pixels around the press)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kGiveUpAfter = std::chrono::seconds(3);

struct Rect {
    int x, y, width, height;
};

std::vector<char> grab(Display* display, const Rect& rect) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), rect.x, rect.y,
                              static_cast<unsigned>(rect.width), static_cast<unsigned>(rect.height),
                              AllPlanes, ZPixmap);
    if (image == nullptr) {
        std::fprintf(stderr, "press_latency: the screen cannot be read there\n");
        std::exit(2);
    }
    std::vector<char> pixels(image->data, image->data + static_cast<size_t>(image->bytes_per_line) *
                                                            static_cast<size_t>(image->height));
    XDestroyImage(image);
    return pixels;
}

// Milliseconds from the press to the first changed pixels, or a negative number when nothing
// changed within the time allowed.
double pressOnce(Display* display, int x, int y, const Rect& watched, bool click) {
    const std::vector<char> before = grab(display, watched);
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
    const auto start = Clock::now();
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    if (click) {
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
    }
    XFlush(display);
    double result = -1;
    while (Clock::now() - start < kGiveUpAfter) {
        if (grab(display, watched) != before) {
            result = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
    }
    if (!click) {
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
    }
    XSync(display, False);
    return result;
}

int argument(int argc, char** argv, int index, int fallback) {
    return index < argc ? std::atoi(argv[index]) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const bool click = argc > 1 && std::strcmp(argv[1], "--click") == 0;
    if (click) {
        --argc;
        ++argv;
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: press_latency [--click] X Y [PRESSES] [GAP_MS] [RX RY RW RH]\n");
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const int presses = argument(argc, argv, 3, 10);
    const int gapMs = argument(argc, argv, 4, 150);
    Rect watched{x - 8, y - 8, 16, 16};
    if (argc >= 9) {
        watched = {std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]), std::atoi(argv[8])};
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "press_latency: no X display\n");
        return 2;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        std::fprintf(stderr, "press_latency: the X server has no XTest\n");
        return 2;
    }
    for (int i = 0; i < presses; ++i) {
        const double ms = pressOnce(display, x, y, watched, click);
        if (ms < 0) {
            std::printf("timeout\n");
        } else {
            std::printf("%.2f\n", ms);
        }
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
    }
    XCloseDisplay(display);
    return 0;
}
