// Press-to-pixels latency, measured from outside the program: a mouse press is sent to the X
// server with XTest, then a rectangle of the screen is read back until its pixels change.
// Prints one line per press: the milliseconds from sending the press to the changed pixels.
//
// Usage: press_latency [--click] [--key KEYSYM] [--alternate X2 Y2] X Y [PRESSES] [GAP_MS]
//                      [RECT_X RECT_Y RECT_W RECT_H]
//   --click      release the button at once instead of after the change: buttons act on release
//   --key        press and release a key (an X keysym name such as F1) instead of the mouse
//   --alternate  every second press at (X2, Y2) instead, for two buttons that undo each other
//   X Y          where to press, in screen pixels
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
// A key press is a click of the key: the key goes up at once, as a mouse button with click.
double pressOnce(Display* display, int x, int y, const Rect& watched, bool click, KeyCode key) {
    const std::vector<char> before = grab(display, watched);
    if (key == 0) {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    }
    XSync(display, False);
    const auto start = Clock::now();
    if (key != 0) {
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        XTestFakeKeyEvent(display, key, False, CurrentTime);
        click = true;
    } else {
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        if (click) {
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
        }
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
    bool click = false;
    const char* keyName = nullptr;
    bool alternate = false;
    int alternateX = 0;
    int alternateY = 0;
    while (argc > 1 && std::strncmp(argv[1], "--", 2) == 0) {
        if (std::strcmp(argv[1], "--click") == 0) {
            click = true;
        } else if (std::strcmp(argv[1], "--key") == 0 && argc > 2) {
            keyName = argv[2];
            --argc;
            ++argv;
        } else if (std::strcmp(argv[1], "--alternate") == 0 && argc > 3) {
            alternate = true;
            alternateX = std::atoi(argv[2]);
            alternateY = std::atoi(argv[3]);
            argc -= 2;
            argv += 2;
        } else {
            break;
        }
        --argc;
        ++argv;
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: press_latency [--click] [--key KEYSYM] [--alternate X2 Y2] X Y "
                     "[PRESSES] [GAP_MS] [RX RY RW RH]\n");
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
    KeyCode key = 0;
    if (keyName != nullptr) {
        const KeySym symbol = XStringToKeysym(keyName);
        key = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
        if (key == 0) {
            std::fprintf(stderr, "press_latency: no key %s on this display\n", keyName);
            return 2;
        }
    }
    for (int i = 0; i < presses; ++i) {
        const bool second = alternate && i % 2 == 1;
        const double ms = pressOnce(display, second ? alternateX : x, second ? alternateY : y,
                                    watched, click, key);
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
