// The end-to-end driver's helper: reads xwd screenshots, answers questions about their pixels
// and closes a window as a window manager's close button does. Rectangles X Y W H are clipped to
// the picture. Exit status 0 on success, 1 on unreadable input or a failed request, 2 on bad
// arguments.
//   diff SHOT1 SHOT2 X Y W H         pixels that differ inside the rectangle
//   count SHOT X Y W H R G B [LEAST] pixels of that colour at any brightness, as smoothed lines
//                                    shade it (black is none), or with a channel at least LEAST
//   close WINDOW                     WM_DELETE_WINDOW to the window (needs DISPLAY)
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
    int top() const { return std::max({r, g, b}); }
};

// A ZPixmap screenshot of a true-colour visual, the only kind Xvfb's 24-bit screen gives.
struct Shot {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    const Rgb& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// The channel that `mask` selects, scaled to 0..255.
int channel(uint32_t pixel, uint32_t mask) {
    if (!mask) return 0;
    const int shift = __builtin_ctz(mask);
    return int(((pixel & mask) >> shift) * 255u / (mask >> shift));
}

// The header is 25 big-endian 32-bit fields, the window name filling it up to its size; then
// come the colour map entries (12 bytes each) and the image rows.
bool readShot(const char* path, Shot& shot) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> data{std::istreambuf_iterator<char>(in), {}};
    if (data.size() < 100) return false;
    uint32_t field[25];
    for (size_t i = 0; i < 25; ++i)
        field[i] = uint32_t(data[4 * i]) << 24 | uint32_t(data[4 * i + 1]) << 16 |
                   uint32_t(data[4 * i + 2]) << 8 | data[4 * i + 3];
    const uint32_t width = field[4], height = field[5], byteOrder = field[7];
    const uint32_t bytes = field[11] / 8, bytesPerLine = field[12];
    const uint64_t start = uint64_t(field[0]) + uint64_t(field[19]) * 12;
    if (field[2] != 2 /* ZPixmap */ || (bytes != 4 && bytes != 3) || width == 0 || height == 0 ||
        width > 16384 || height > 16384 || uint64_t(bytesPerLine) < uint64_t(width) * bytes ||
        start + uint64_t(bytesPerLine) * height > data.size())
        return false;
    shot.width = int(width), shot.height = int(height);
    shot.pixels.resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = &data[start + uint64_t(y) * bytesPerLine + x * bytes];
            uint32_t pixel = 0;
            for (uint32_t k = 0; k < bytes; ++k)  // byte order 0: least significant first
                pixel |= uint32_t(p[k]) << (byteOrder == 0 ? 8 * k : 8 * (bytes - 1 - k));
            shot.pixels[size_t(y) * width + x] = {
                channel(pixel, field[14]), channel(pixel, field[15]), channel(pixel, field[16])};
        }
    return true;
}

// True when `p` is `colour` scaled by some brightness in (0, 1], within a step of rounding.
bool isShadeOf(const Rgb& p, const Rgb& colour) {
    const int brightest = colour.top(), top = p.top();
    if (top == 0 || brightest == 0 || top > brightest) return false;
    const double scale = double(top) / brightest;
    auto near = [scale](int got, int full) { return std::abs(got - scale * full) <= 1.5; };
    return near(p.r, colour.r) && near(p.g, colour.g) && near(p.b, colour.b);
}

bool parseInts(char** args, int count, int* values) {
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        values[i] = int(std::strtol(args[i], &end, 10));
        if (!*args[i] || *end) return false;
    }
    return true;
}

struct Rect { int x0, y0, x1, y1; };  // x1, y1 one past the end
bool parseRect(char** args, const Shot& shot, Rect& rect) {
    int v[4];
    if (!parseInts(args, 4, v) || v[2] < 0 || v[3] < 0) return false;
    rect = {std::max(v[0], 0), std::max(v[1], 0), std::min(v[0] + v[2], shot.width),
            std::min(v[1] + v[3], shot.height)};
    return true;
}

int closeWindow(Window window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}

int usage() {
    std::fprintf(stderr, "screen_probe: bad arguments (see the head of screen_probe.cpp)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    if (command == "close" && argc == 3) {
        char* end = nullptr;
        const Window window = std::strtoul(argv[2], &end, 0);
        return *end ? usage() : closeWindow(window);
    }
    Shot shot, other;
    for (int i = 2; i < argc && i <= (command == "diff" ? 3 : 2); ++i)
        if (!readShot(argv[i], i == 2 ? shot : other))
            return std::fprintf(stderr, "screen_probe: %s is no readable xwd screenshot\n",
                                argv[i]), 1;
    Rect r;
    long n = 0;
    auto each = [&r, &shot](auto visit) {
        for (int y = r.y0; y < r.y1; ++y)
            for (int x = r.x0; x < r.x1; ++x) visit(x, y, shot.at(x, y));
    };
    if (command == "diff" && argc == 8) {
        if (other.width != shot.width || other.height != shot.height)
            return std::fprintf(stderr, "screen_probe: the screenshots differ in size\n"), 1;
        if (!parseRect(argv + 4, shot, r)) return usage();
        each([&](int x, int y, const Rgb& a) {
            const Rgb& b = other.at(x, y);
            n += a.r != b.r || a.g != b.g || a.b != b.b;
        });
    } else if (command == "count" && (argc == 10 || argc == 11)) {
        int want[4] = {0, 0, 0, 1};
        if (!parseRect(argv + 3, shot, r) || !parseInts(argv + 7, argc - 7, want)) return usage();
        each([&](int, int, const Rgb& p) {
            n += isShadeOf(p, {want[0], want[1], want[2]}) && p.top() >= want[3];
        });
    } else {
        return usage();
    }
    return std::printf("%ld\n", n), 0;
}
